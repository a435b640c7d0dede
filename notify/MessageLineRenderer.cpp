#include "notify/MessageLineRenderer.h"

#include <QFontMetrics>
#include <QPainter>

#include "feed/CompareKeeps.h"
#include "platform/Picture.h"

namespace notify {
namespace {

// Without a separator a name stays inside symbols/; only "." and ".." would name a folder instead.
bool isSafeSymbolName(const QString& name) {
    return !name.contains('/') && !name.contains('\\') && name != QLatin1String(".") && name != QLatin1String("..");
}

QColor codeColour(QChar code) {
    switch (code.unicode()) {
        case 'g':
            return QColor(0, 128, 0);
        case 'd':
            return QColor(0, 0, 255);
        case 'r':
            return QColor(255, 0, 0);
        default:
            return QColor(0, 0, 0);
    }
}

// Walks the markup once for the drawing and for the text read out: onText(colour code, text) for each
// text run ("b" where a segment has no code of its own), onIcon(name) for each icon.
template <typename OnText, typename OnIcon>
void forEachSegment(const QString& line, OnText onText, OnIcon onIcon) {
    for (const QString& segment : line.split('^')) {
        if (segment.isEmpty()) continue;
        const QChar code = segment.front();
        if (code == 'I') {
            onIcon(segment.mid(1));
            continue;
        }
        const bool isColourCode = code == 'b' || code == 'g' || code == 'd' || code == 'r';
        onText(isColourCode ? code : QChar('b'), isColourCode ? segment.mid(1) : segment);
    }
}

}  // namespace

QFont messageLineFont() {
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

int drawSymbol(QPainter& painter, const QString& symbolsFolder, const QString& name, QPoint at) {
    if (!isSafeSymbolName(name)) return 0;
    const double ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const auto icon = platform::Picture::load(symbolsFolder + '/' + name + QStringLiteral(".ico"), ratio);
    if (!icon) return 0;
    icon->draw(painter, at);
    return icon->roundedWidth();
}

void drawMessageLine(QPainter& painter, const QString& symbolsFolder, const QString& line, int index) {
    const int top = rowTop(index);
    const QFontMetrics metrics(painter.font());
    int p = 0;
    forEachSegment(
        line,
        [&](QChar code, const QString& text) {
            painter.setPen(codeColour(code));
            if (text.isEmpty()) return;
            painter.drawText(p + 14, top + metrics.ascent(), text);
            p += metrics.horizontalAdvance(text);
        },
        [&](const QString& name) {
            p += drawSymbol(painter, symbolsFolder, name, QPoint(p + 16, top)) - 10;
            p += 16;
        });
}

QString messageLineText(const QString& line) {
    QString text;
    forEachSegment(
        line, [&](QChar, const QString& run) { text += run; },
        [&](const QString& name) {
            if (name == QLatin1String("rechts")) text += QStringLiteral(" \u2192 ");
        });
    return text;
}

QColor realmColour(feed::Realm realm) {
    // The colour code the popup's lines give the realm's name.
    return codeColour(QChar::fromLatin1(feed::realmColourCode(feed::realmName(realm)).back()));
}

}  // namespace notify
