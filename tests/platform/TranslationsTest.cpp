// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Translations.h"

#include "base/Wording.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "tests/support/LogRecorder.h"

namespace {

using platform::Language;
using platform::LanguageChoice;

TEST(Language, SystemIsGermanOnlyOnAGermanDesktop) {
    struct Case {
        LanguageChoice choice;
        QStringList uiLanguages;
        Language expected;
    };
    const Case cases[] = {
        {LanguageChoice::German, {QStringLiteral("en-US")}, Language::German},
        {LanguageChoice::English, {QStringLiteral("de-DE")}, Language::English},
        {LanguageChoice::System, {QStringLiteral("de-DE"), QStringLiteral("de")}, Language::German},
        {LanguageChoice::System, {QStringLiteral("de")}, Language::German},
        {LanguageChoice::System, {QStringLiteral("de_AT")}, Language::German},
        {LanguageChoice::System, {QStringLiteral("en-US"), QStringLiteral("de-DE")}, Language::English},
        {LanguageChoice::System, {QStringLiteral("fr-FR")}, Language::English},
        {LanguageChoice::System, {QStringLiteral("dsb-DE")}, Language::English},  // Lower Sorbian
        {LanguageChoice::System, {QStringLiteral("C")}, Language::English},
        {LanguageChoice::System, {}, Language::English},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::languageOf(c.choice, c.uiLanguages), c.expected) << c.uiLanguages.join(',').toStdString();
    for (const LanguageChoice choice : {LanguageChoice::German, LanguageChoice::English, LanguageChoice::System})
        EXPECT_EQ(platform::languageChoiceFrom(platform::keyOf(choice)), choice);
    EXPECT_FALSE(platform::languageChoiceFrom(QStringLiteral("DE")));
}

// Placeholders are filled once: a value that holds "%2" is not filled again, unknown ones stay.
TEST(Wording, FillsEachPlaceholderOnce) {
    EXPECT_EQ(base::filled("Eintrag %1 fehlt", {"104"}), "Eintrag 104 fehlt");
    EXPECT_EQ(base::filled("%2 vor %1", {"a", "b"}), "b vor a");
    EXPECT_EQ(base::filled("%1: %2", {"Gilde %2", "x"}), "Gilde %2: x");
    EXPECT_EQ(base::filled("100% %3 %", {"a"}), "100% %3 %");
}

class TranslationsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QFile built(QStringLiteral(WARMAP_BUILD_DIR "/bin/translations/warmap_en.qm"));
        ASSERT_TRUE(built.open(QIODevice::ReadOnly));
        m_good = built.readAll();
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    }
    QString folder() const { return m_dir.path(); }
    QString file() const { return m_dir.filePath(QStringLiteral("warmap_en.qm")); }
    std::string native() const { return QFile::encodeName(file()).toStdString(); }
    void write(const QByteArray& bytes) const {
        QFile out(file());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        out.close();
        ::chmod(native().c_str(), 0644);
    }
    // The tray menu's "Beenden" as the program's texts now say it.
    static QString quitText() { return QCoreApplication::translate("tray::TrayIcon", "Beenden"); }

    QTemporaryDir m_dir;
    QByteArray m_good;
};

TEST_F(TranslationsTest, TheEnglishTranslationSwitchesTheProgramsTextsBothWays) {
    platform::Translations translations(folder(), {});
    write(m_good);
    EXPECT_EQ(translations.use(Language::English), Language::English);
    EXPECT_EQ(quitText(), QStringLiteral("Quit"));
    EXPECT_EQ(translations.translate("core::HandOver", "Warmap l\u00e4uft nicht.\n"),
              QStringLiteral("Warmap is not running.\n"));
    EXPECT_EQ(translations.use(Language::German), Language::German);
    EXPECT_EQ(quitText(), QStringLiteral("Beenden"));
}

// A file that cannot be used, or that others could have planted, leaves the German texts and says so
// once, naming the file; nothing of it is read.
TEST_F(TranslationsTest, AnUnusableOrForeignFileLeavesGermanWithOneLogLine) {
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* logged;
    };
    const Case cases[] = {
        {"missing", [] {}, "it is missing"},
        {"garbage", [this] { write("not a translation at all"); }, "not a translation file"},
        {"empty", [this] { write({}); }, "not a translation file"},
        {"cut after its magic number", [this] { write(m_good.left(16)); }, "it is incomplete"},
        {"a folder", [this] { QDir().mkpath(file()); }, "not a regular file"},
        {"a FIFO", [this] { ::mkfifo(native().c_str(), 0644); }, "not a regular file"},
        {"a link to the real one",
         [this] {
             QFile::copy(QStringLiteral(WARMAP_BUILD_DIR "/bin/translations/warmap_en.qm"),
                         m_dir.filePath(QStringLiteral("real.qm")));
             (void)::symlink("real.qm", native().c_str());
         },
         "symbolic link"},
        {"writable by everyone",
         [this] {
             write(m_good);
             ::chmod(native().c_str(), 0666);
         },
         "other users may write it"},
        {"in a folder everyone may write",
         [this] {
             write(m_good);
             ::chmod(QFile::encodeName(folder()).constData(), 01777);
         },
         "its folder: other users may write it"},
    };
    for (const Case& c : cases) {
        SetUp();
        QFile::remove(file());
        QDir(file()).removeRecursively();
        c.make();
        platform::Translations translations(folder(), {});
        testing_support::LogRecorder log;
        EXPECT_EQ(translations.use(Language::English), Language::German) << c.what;
        EXPECT_EQ(quitText(), QStringLiteral("Beenden")) << c.what;
        EXPECT_EQ(log.matching(QStringLiteral("warmap.settings"), {file(), QString::fromUtf8(c.logged)}).size(), 1)
            << c.what << ": " << log.lines().join('\n').toStdString();
        ::chmod(QFile::encodeName(folder()).constData(), 0755);
        QFile::remove(file());
    }
}

// Cut anywhere, the file either still holds every text or is refused with one line; never a
// half-English program, never a crash.
TEST_F(TranslationsTest, ACutFileIsWholeOrRefused) {
    for (qsizetype length = 1; length < m_good.size(); length += 37) {
        write(m_good.left(length));
        platform::Translations translations(folder(), {});
        testing_support::LogRecorder log;
        const Language spoken = translations.use(Language::English);
        if (spoken == Language::German) {
            EXPECT_EQ(quitText(), QStringLiteral("Beenden")) << length;
            EXPECT_EQ(log.matching(QStringLiteral("warmap.settings"), {file()}).size(), 1) << length;
        } else {
            EXPECT_EQ(quitText(), QStringLiteral("Quit")) << length;
            EXPECT_EQ(QCoreApplication::translate(
                          "warmap::Skin", "\u00dcberlauf: die Bilder des Fensterrahmens in %1 sind zu gro\u00df"),
                      QStringLiteral("overflow: the window frame's pictures in %1 are too large"))
                << length;
        }
    }
}

}  // namespace
