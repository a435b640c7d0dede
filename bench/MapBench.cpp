// Warmap window costs: drawing a server's map from its saved copy when it is chosen, and the hover
// text for a pointer over a structure.
#include <benchmark/benchmark.h>

#include <QComboBox>

#include "feed/FeedPaths.h"
#include "keepmap/KeepPos.h"
#include "tests/support/FeedSimProcess.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDir.h"
#include "warmap/MapWindow.h"

namespace {

struct LoadedWindow {
    LoadedWindow() : window(WARMAP_DATA_DIR, dialogs) {
        for (const char* server : {"Dartmoor", "Logres"}) {
            testing_support::writeFile(feed::savedCopyPath(temp.path(), server),
                                       testing_support::FeedSimProcess::writtenFeed({"--seed", "1"}, server));
        }
        loaded = window.load().hasValue();
    }
    testing_support::TempFolderScope temp;
    testing_support::RecordingDialogs dialogs;
    warmap::MapWindow window;
    bool loaded = false;
};

void bmShowSelectedServer(benchmark::State& state) {
    LoadedWindow w;
    if (!w.loaded) state.SkipWithError("load step failed");
    w.window.serverCombo()->setCurrentIndex(1);
    for (auto _ : state) w.window.showSelectedServer();
    if (!w.dialogs.shown.empty()) state.SkipWithError("the drawing reported a failure");
}
BENCHMARK(bmShowSelectedServer)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void bmUpdateHoverText(benchmark::State& state) {
    LoadedWindow w;
    if (!w.loaded) state.SkipWithError("load step failed");
    const QPointF overKeep(keepmap::kKeepPos[35]);
    for (auto _ : state) w.window.updateHoverText(overKeep);
}
BENCHMARK(bmUpdateHoverText)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
