// The popup on a real X display while a compositing manager comes and goes. Run by tests/e2e/compositor.sh
// under Xvfb with QT_QPA_PLATFORM=xcb; a helper client stands in for the compositor.
#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "notify/ChangePopup.h"
#include "notify/Fader.h"
#include "platform/WindowSystem.h"

namespace {

xcb_connection_t* connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

bool isMapped(QWidget& window) {
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(
            connection(), xcb_get_window_attributes(connection(), static_cast<xcb_window_t>(window.winId())), nullptr),
        &std::free);
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::vector<std::string> atomNames(QWidget& window, const char* property) {
    xcb_connection_t* c = connection();
    auto intern = [&](const char* name) {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr),
            &std::free);
        return atom->atom;
    };
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            c,
            xcb_get_property(c, 0, static_cast<xcb_window_t>(window.winId()), intern(property), XCB_ATOM_ATOM, 0, 64),
            nullptr),
        &std::free);
    std::vector<std::string> names;
    if (!reply) return names;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    for (int i = 0; i < xcb_get_property_value_length(reply.get()) / 4; ++i) {
        std::unique_ptr<xcb_get_atom_name_reply_t, decltype(&std::free)> name(
            xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atoms[i]), nullptr), &std::free);
        names.emplace_back(xcb_get_atom_name_name(name.get()), xcb_get_atom_name_name_length(name.get()));
    }
    return names;
}

// Keeps a picture of the whole screen beside the other end-to-end artefacts, when the run asks for it.
void saveScreen(const char* name) {
    const QByteArray folder = qgetenv("ARTIFACTS");
    if (!folder.isEmpty()) QGuiApplication::primaryScreen()->grabWindow(0).save(folder + "/" + name);
}

class CompositorTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display (run by compositor.sh)";
    }
    void startCompositor() {
        m_compositor.start(WARMAP_FAKE_COMPOSITOR, {});
        ASSERT_TRUE(m_compositor.waitForReadyRead(5000));
        ASSERT_TRUE(platform::supportsWindowOpacity());
    }
    void stopCompositor() {
        m_compositor.terminate();
        ASSERT_TRUE(m_compositor.waitForFinished(5000));
    }
    QProcess m_compositor;
};

TEST_F(CompositorTest, ThePopupFollowsACompositorThatComesAndGoes) {
    ASSERT_FALSE(platform::supportsWindowOpacity());
    notify::ChangePopup popup(WARMAP_DATA_DIR);
    QCoreApplication::processEvents();
    EXPECT_FALSE(isMapped(popup));  // no compositor: transparent means unmapped

    startCompositor();
    popup.setHeight(15 * 3 + 38);  // a pass with three changes
    popup.placeNextToTaskbar();
    popup.drawSkin();
    popup.drawLine(QStringLiteral("^bLOG: ^dGreywater Spire^Irechts^rAlbion"), 0);
    popup.drawLine(QStringLiteral("^bAVA: ^rOldbarrow Castle^Irechts^gHibernia"), 1);
    popup.drawLine(QStringLiteral("^bSAL: ^gDunmarrow Lookout^Irechts^dMidgard"), 2);
    notify::fadeIn(&popup);
    QCoreApplication::processEvents();
    saveScreen("compositor-arrived-popup-shown.png");
    EXPECT_TRUE(isMapped(popup));
    EXPECT_DOUBLE_EQ(popup.windowOpacity(), 1.0);
    const auto states = atomNames(popup, "_NET_WM_STATE");
    EXPECT_NE(std::find(states.begin(), states.end(), "_NET_WM_STATE_SKIP_TASKBAR"), states.end());
    EXPECT_NE(std::find(states.begin(), states.end(), "_NET_WM_STATE_SKIP_PAGER"), states.end());

    notify::fadeOut(&popup);
    QCoreApplication::processEvents();
    EXPECT_TRUE(isMapped(popup));  // at alpha 0, but the compositor shows it as nothing
    EXPECT_DOUBLE_EQ(popup.windowOpacity(), 0.0);

    stopCompositor();  // no pass runs: the popup must react to the compositor leaving by itself
    EXPECT_TRUE(QTest::qWaitFor([&] { return !isMapped(popup); }, 3000));
    EXPECT_FALSE(popup.isVisible());
    saveScreen("compositor-left-popup-gone.png");

    notify::fadeIn(&popup);  // and a later pass without a compositor still shows it
    QCoreApplication::processEvents();
    EXPECT_TRUE(isMapped(popup));
}

}  // namespace
