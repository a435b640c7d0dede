// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "settings/SettingsDialog.h"

namespace {

using settings::Settings;

QCheckBox* Box(const settings::SettingsDialog& dialog, const QString& text) {
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
        if (box->text() == text) return box;
    }
    return nullptr;
}

// OK saves only an address that is one, and stays open with the reason when saving fails.
TEST(SettingsDialog, OkHandsOverOnlyWhatCanBeSaved) {
    Settings stored;
    stored.notifyServer = {true, false, true, true};
    stored.onlyRealm = feed::Realm::Hibernia;
    settings::SettingsDialog dialog(stored, QStringLiteral("http://127.0.0.1:8642"), {}, {});
    ASSERT_FALSE(Box(dialog, QStringLiteral("Logres"))->isChecked());
    ASSERT_EQ(dialog.findChild<QComboBox*>()->currentText(), QStringLiteral("Hibernia"));
    Box(dialog, QStringLiteral("Avalon"))->setChecked(false);
    Box(dialog, QStringLiteral("Ton bei Meldungen"))->setChecked(false);

    std::vector<Settings> saved;
    bool saveWorks = false;
    dialog.onSave = [&](const Settings& chosen, QString* problem) {
        saved.push_back(chosen);
        if (!saveWorks) *problem = QStringLiteral("Die Einstellungen lassen sich nicht speichern");
        return saveWorks;
    };
    const auto status = [&dialog] {
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->isVisibleTo(&dialog) && label->wordWrap()) return label->text();
        }
        return QString();
    };
    dialog.show();
    struct Case {
        const char* typed;
        bool saveWorks;
        std::size_t savedCount;
        bool open;
        const char* said;
    };
    const Case cases[] = {
        {"gopher://feed.example", true, 0, true, "http:// oder https://"},
        {"http://feed.example/herald", true, 0, true, "der Pfad ist fest"},
        {"https://feed.example:8443", false, 1, true, "nicht speichern"},
        {"https://feed.example:8443", true, 2, false, ""},
    };
    for (const Case& c : cases) {
        dialog.findChild<QLineEdit*>()->setText(QString::fromUtf8(c.typed));
        saveWorks = c.saveWorks;
        dialog.accept();
        EXPECT_EQ(saved.size(), c.savedCount) << c.typed;
        EXPECT_EQ(dialog.isVisible(), c.open) << c.typed;
        if (c.open) {
            EXPECT_TRUE(status().contains(QString::fromUtf8(c.said))) << c.typed << ": " << status().toStdString();
        }
    }
    Settings expected = stored;
    expected.feedBase = QStringLiteral("https://feed.example:8443");
    expected.notifyServer[2] = false;
    expected.sound = false;
    EXPECT_EQ(saved.back(), expected);
}

}  // namespace
