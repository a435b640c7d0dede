#pragma once

#include <QPoint>
#include <QString>

#include "feed/Frontier.h"
#include "platform/Theme.h"

class QColor;
class QFont;
class QPainter;

namespace notify {

// Draws the icon "<symbolsFolder>/<name>.ico" upright at its natural size with its top-left corner at
// the point and returns its width in pixels. A missing file, a file that is not a picture, or a name that
// would leave the symbols folder draws nothing and counts as 0 pixels wide.
int drawSymbol(QPainter& painter, const QString& symbolsFolder, const QString& name, QPoint at);

// Draws one message line in its markup on row index: "^" starts a segment whose first character
// selects black "b", green "g", blue "d", red "r" or an icon "I"; any other first character is drawn
// as text, in black. Uses the painter's font; text runs have a transparent background.
void drawMessageLine(QPainter& painter, const QString& symbolsFolder, const QString& line, int index);

// A message line as a person reads it, for assistive technology: the text of its segments, the arrow
// icon as " → ", other icons left out. "^bDM: ^rAshcombe^Irechts^gHibernia" reads "DM: Ashcombe → Hibernia".
QString messageLineText(const QString& line);

// The colour a realm's name is drawn in, in message lines and wherever realms are told apart.
QColor realmColour(feed::Realm realm);

// The font message lines are drawn in, in the popup and wherever they are shown again.
QFont messageLineFont();

// Top of row k: 15 * (k + 1) + 2.
inline int rowTop(int index) {
    return theme::kLineHeight * (index + 1) + 2;
}

}  // namespace notify
