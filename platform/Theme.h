#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// The program's look, shared by the popup, "Letzte Meldungen", the history window and the Warmap
// window: one home for every colour, font, line height and date format they have in common.
namespace theme {

// The dark wood behind the frame's pieces and around "Letzte Meldungen".
inline constexpr QRgb kWood = qRgb(46, 30, 20);
// Brown ink on parchment: the date under the server list, the pass times of "Letzte Meldungen".
inline constexpr QRgb kInk = qRgb(70, 48, 26);
// The server list's text and its field.
inline constexpr QRgb kServerText = qRgb(64, 64, 64);
inline constexpr QRgb kServerField = qRgb(186, 182, 146);
inline constexpr QRgb kServerBorder = qRgb(110, 80, 48);
inline constexpr QRgb kServerSelection = qRgb(120, 92, 52);
// Two parchments: neither matches the skin's own (228, 214, 179), and no screenshot says which of the
// two is right, so each list keeps the shade it was drawn and checked in.
inline constexpr QRgb kParchmentChangeList = qRgb(236, 226, 196);  // the history's change list
inline constexpr QRgb kParchmentRecent = qRgb(232, 220, 190);      // "Letzte Meldungen"

// One line of the popup's markup, wherever it is drawn, in pixels.
inline constexpr int kLineHeight = 15;

// Dates and times as the program shows them (local time, 24 hours).
inline const QString kDateTimeFormat = QStringLiteral("dd.MM.yyyy HH:mm");
inline const QString kDateTimeSecondsFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");
inline const QString kDayFormat = QStringLiteral("dd.MM.");
inline const QString kMonthFormat = QStringLiteral("MM.yyyy");
inline const QString kTimeFormat = QStringLiteral("HH:mm");

// The Warmap window's panel font, and the history's copy of that panel.
inline QFont panelFont(double points, bool bold, bool italic = false) {
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// A colour as a style sheet writes it: "rgb(64, 64, 64)".
inline QString css(QRgb colour) {
    return QStringLiteral("rgb(%1, %2, %3)").arg(qRed(colour)).arg(qGreen(colour)).arg(qBlue(colour));
}

}  // namespace theme
