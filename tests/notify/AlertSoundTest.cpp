#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>

#include "notify/AlertSound.h"
#include "notify/LazySound.h"
#include "tests/support/EnvScope.h"
#include "tests/support/LogRecorder.h"

namespace {

quint32 u32(const QByteArray& d, int at) {
    return qFromLittleEndian<quint32>(d.constData() + at);
}
quint16 u16(const QByteArray& d, int at) {
    return qFromLittleEndian<quint16>(d.constData() + at);
}

TEST(AlertSound, EmbeddedWaveHasTheExpectedLayout) {
    const QString path = notify::AlertSound::findWaveResource("halldrop");
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(notify::AlertSound::findWaveResource("HallDrop"), path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray d = file.readAll();
    ASSERT_EQ(d.size(), 20318);
    EXPECT_EQ(d.mid(0, 4), "RIFF");
    EXPECT_EQ(u32(d, 4), 20310u);
    EXPECT_EQ(d.mid(8, 4), "WAVE");
    EXPECT_EQ(d.mid(12, 4), "fmt ");
    EXPECT_EQ(u32(d, 16), 16u);
    EXPECT_EQ(u16(d, 20), 1u);
    EXPECT_EQ(u16(d, 22), 1u);
    EXPECT_EQ(u32(d, 24), 6000u);
    EXPECT_EQ(u32(d, 28), 12000u);
    EXPECT_EQ(u16(d, 32), 2u);
    EXPECT_EQ(u16(d, 34), 16u);
    EXPECT_EQ(d.mid(36, 4), "data");
    EXPECT_EQ(u32(d, 40), 20248u);
    EXPECT_EQ(d.mid(20292, 4), "LIST");
    EXPECT_EQ(u32(d, 20296), 18u);
    // Not silence: the chime reaches a good part of full scale.
    int peak = 0;
    for (int i = 44; i < 44 + 20248; i += 2) peak = std::max(peak, std::abs(int(qint16(u16(d, i)))));
    EXPECT_GT(peak, 16000);
}

TEST(AlertSound, PlayingReturnsAtOnceEvenWithoutAudio) {
    notify::AlertSound sound;
    EXPECT_TRUE(sound.playWaveResource("halldrop"));
    EXPECT_TRUE(sound.playWaveResource("HALLDROP"));  // a second call restarts it
    EXPECT_FALSE(sound.playWaveResource("fanfare"));
}

// A sound server out of reach is one line of ours, not Qt Multimedia's unasked lines on stderr.
TEST(AlertSound, ASoundServerOutOfReachIsOneLogLine) {
    testing_support::EnvScope env;
    env.set("PULSE_SERVER", "unix:/nonexistent/warmap-test/native");
    testing_support::LogRecorder log;
    {
        notify::AlertSound sound;
        EXPECT_TRUE(sound.playWaveResource("halldrop"));
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 1500) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_TRUE(sound.playWaveResource("halldrop"));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(log.matching("warmap.sound", {"no sound: PulseAudioService"}).size(), 1)
        << log.lines().join('\n').toStdString();
    EXPECT_TRUE(log.matching("default", {}).isEmpty()) << log.lines().join('\n').toStdString();
}

// The program's own sound loads the audio library beside the program on its first use.
TEST(LazySound, LoadsTheAudioLibraryOnTheFirstSound) {
    notify::LazySound sound;
    EXPECT_TRUE(sound.playWaveResource("halldrop"));
    EXPECT_FALSE(sound.playWaveResource("fanfare"));
}

}  // namespace
