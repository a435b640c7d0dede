// Popup costs: one change line (icon read from disk each time, as the program does), a whole popup of
// 20 lines without the fades, one fade-in, and how long endTimer really holds the popup.
#include <benchmark/benchmark.h>

#include <QPainter>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "core/PopupPresenter.h"
#include "notify/ChangePopup.h"
#include "notify/Fader.h"
#include "notify/LazySound.h"
#include "notify/MessageLineRenderer.h"

namespace {

const QString kLine = QStringLiteral("^bLOG: ^dGreywater Lookout^Irechts^rAlbion");

void bmDrawMessageLine(benchmark::State& state) {
    QImage surface(280, 400, QImage::Format_RGB32);
    QFont font("Trebuchet MS");
    font.setPointSizeF(8.25);
    font.setBold(true);
    const QString symbols = QStringLiteral(WARMAP_DATA_DIR "/symbols");
    for (auto _ : state) {
        QPainter painter(&surface);
        painter.setFont(font);
        notify::drawMessageLine(painter, symbols, kLine, 3);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bmDrawMessageLine)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void bmPopupBuild20Lines(benchmark::State& state) {
    notify::ChangePopup popup(WARMAP_DATA_DIR);
    for (auto _ : state) {
        popup.setHeight(core::popupHeight(20));
        popup.placeNextToTaskbar();
        popup.drawSkin();
        for (int k = 0; k < 20; ++k) popup.drawLine(kLine, k);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bmPopupBuild20Lines)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void bmFadeIn(benchmark::State& state) {
    notify::ChangePopup popup(WARMAP_DATA_DIR);
    for (auto _ : state) notify::fadeIn(&popup);
}
BENCHMARK(bmFadeIn)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

namespace {

// How long a popup really stays: from endTimer's start to its tick, for 5 and 16 lines (8 s and 20 s
// promised). Reported as manual time, one popup per repetition.
class TickWatch final : public QObject {
public:
    explicit TickWatch(QElapsedTimer& clock) : m_clock(clock) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Timer && held < 0) held = m_clock.nsecsElapsed() / 1e9;
        return false;
    }
    double held = -1;

private:
    QElapsedTimer& m_clock;
};

void bmEndTimerHold(benchmark::State& state) {
    notify::ChangePopup popup(WARMAP_DATA_DIR);
    notify::LazySound sound;
    core::PopupPresenter presenter(popup, sound);
    const feed::MessageLines lines(static_cast<std::size_t>(state.range(0)), kLine.toStdString());
    for (auto _ : state) {
        QElapsedTimer clock;
        TickWatch watch(clock);
        popup.endTimer().installEventFilter(&watch);
        presenter.presentChanges(lines);
        clock.start();  // endTimer was started as the last step
        while (watch.held < 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        popup.endTimer().removeEventFilter(&watch);
        state.SetIterationTime(watch.held);
    }
}
BENCHMARK(bmEndTimerHold)
    ->Arg(5)
    ->Arg(16)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);

}  // namespace
