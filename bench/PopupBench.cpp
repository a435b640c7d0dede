// Popup drawing costs: one change line (icon read from disk each time, as the program does), a whole
// popup of 20 lines without the fades, and one fade-in.
#include <benchmark/benchmark.h>

#include <QPainter>

#include "notify/Fader.h"
#include "notify/MessageLineRenderer.h"
#include "notify/SplashFrm.h"

namespace {

const QString kLine = QStringLiteral("^bLOG: ^dGreywater Lookout^Irechts^rAlbion");

void BM_DrawMessageLine(benchmark::State& state) {
    QImage surface(280, 400, QImage::Format_RGB32);
    QFont font("Trebuchet MS");
    font.setPointSizeF(8.25);
    font.setBold(true);
    const QString symbols = QStringLiteral(WARMAP_DATA_DIR "/symbols");
    for (auto _ : state) {
        QPainter painter(&surface);
        painter.setFont(font);
        notify::DrawMessageLine(painter, symbols, kLine, 3);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawMessageLine)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_PopupBuild20Lines(benchmark::State& state) {
    notify::SplashFrm popup(WARMAP_DATA_DIR);
    for (auto _ : state) {
        popup.SetHeightTwips(15.0f * 15 * 20 + 570);
        popup.InitializeFrm();
        popup.TileForm();
        for (int k = 0; k < 20; ++k) popup.DrawLine(kLine, k);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PopupBuild20Lines)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FadeIn(benchmark::State& state) {
    notify::SplashFrm popup(WARMAP_DATA_DIR);
    for (auto _ : state) notify::FadeIn(&popup);
}
BENCHMARK(BM_FadeIn)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace
