#include <gtest/gtest.h>

#include "core/PopupPresenter.h"
#include "notify/ChangePopup.h"
#include "notify/Sound.h"
#include "tests/support/PopupPassRig.h"

namespace {

TEST(PopupPresenter, EndTimerIntervalsAndHeights) {
    const std::pair<int, int> table[] = {{1, 8000},   {5, 8000},   {6, 12000},  {10, 12000},
                                         {11, 14000}, {15, 14000}, {16, 20000}, {40, 20000}};
    for (auto [lines, interval] : table) EXPECT_EQ(core::endTimerInterval(lines - 1).count(), interval) << lines;
    EXPECT_EQ(core::popupHeight(1), 53);
    EXPECT_EQ(core::popupHeight(3), 83);
}

// A pass against the simulator whose owners changed since the saved copies.
TEST(PopupPresenter, PassWithChangesShowsThePopup) {
    testing_support::PopupPassRig rig({"--seed", "5"});
    ASSERT_TRUE(rig.sim.isRunning());
    auto& [temp, sim, dialogs, popup, sound, presenter, pass] = rig;
    popup.setTaskbarOverride(std::optional<platform::TaskbarRect>());

    sim.control("set?server=Dartmoor&id=35&realm=Midgard");
    sim.control("set?server=Logres&id=36&realm=Midgard");
    sim.control("set?server=Salisbury&id=0&realm=Albion");
    pass.refreshKeeps();
    EXPECT_DOUBLE_EQ(popup.windowOpacity(), 0.0);  // first pass: nothing to show
    sim.control("set?server=Dartmoor&id=35&realm=Hibernia");
    sim.control("set?server=Logres&id=36&realm=Albion");
    sim.control("set?server=Salisbury&id=0&realm=Midgard");
    pass.refreshKeeps();

    EXPECT_DOUBLE_EQ(popup.windowOpacity(), 1.0);
    EXPECT_EQ(popup.size(), QSize(280, 15 * 3 + 38));
    EXPECT_TRUE(popup.endTimer().isActive());
    EXPECT_EQ(popup.endTimer().interval(), 8000);
    EXPECT_TRUE(dialogs.shown.empty());

    // The same skin and lines drawn by hand on a second popup.
    notify::ChangePopup reference(WARMAP_DATA_DIR);
    reference.setHeight(83);
    reference.placeNextToTaskbar();
    reference.drawSkin();
    int k = 0;
    for (const char* line : {"^bDM: ^dDun Glaswen^Irechts^gHibernia", "^bLOG: ^dGlaswen Watch^Irechts^rAlbion",
                             "^bSAL: ^rCaer Hrimvald^Irechts^dMidgard"}) {
        reference.drawLine(QString::fromUtf8(line), k++);
    }
    EXPECT_EQ(popup.surface(), reference.surface());

    // Changes while the popup is shown: redrawn taller and faded in again.
    for (int id = 1; id <= 6; ++id) sim.control("set?server=Avalon&id=" + std::to_string(id) + "&realm=0");
    pass.refreshKeeps();
    EXPECT_EQ(popup.height(), 15 * 6 + 38);
    EXPECT_EQ(popup.endTimer().interval(), 12000);
    EXPECT_DOUBLE_EQ(popup.windowOpacity(), 1.0);
}

class CountingSound final : public notify::Sound {
public:
    bool playWaveResource(const QString&) override { return ++plays, true; }
    int plays = 0;
};

TEST(PopupPresenter, TheSoundSwitchDecidesTheChimeOnly) {
    notify::ChangePopup popup(WARMAP_DATA_DIR);
    popup.setTaskbarOverride(std::optional<platform::TaskbarRect>());
    CountingSound sound;
    core::PopupPresenter presenter(popup, sound);
    for (const bool on : {false, true}) {
        sound.plays = 0;
        presenter.setSoundOn(on);
        presenter.presentChanges({"^bDM: ^dDun Glaswen^Irechts^gHibernia"});
        EXPECT_EQ(sound.plays, on ? 1 : 0) << on;
        EXPECT_DOUBLE_EQ(popup.windowOpacity(), 1.0) << on;  // the popup comes either way
    }
}

}  // namespace
