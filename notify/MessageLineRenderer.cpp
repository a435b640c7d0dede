#include "notify/MessageLineRenderer.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/Picture.h"

namespace notify {
namespace {

// Without a separator a name stays inside symbols/; only "." and ".." would name a folder instead.
bool IsSafeSymbolName(const QString& name) {
    return !name.contains('/') && !name.contains('\\') && name != QLatin1String(".") && name != QLatin1String("..");
}

QColor CodeColour(QChar code) {
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

}  // namespace

QFont MessageLineFont() {
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

int DrawSymbol(QPainter& painter, const QString& symbolsFolder, const QString& name, std::int16_t x, std::int16_t y) {
    if (!IsSafeSymbolName(name)) return 0;
    const double ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const auto icon = platform::Picture::Load(symbolsFolder + '/' + name + QStringLiteral(".ico"), ratio);
    if (!icon) return 0;
    icon->Draw(painter, x, y);
    return icon->RoundedWidth();
}

void DrawMessageLine(QPainter& painter, const QString& symbolsFolder, const QString& line, std::int16_t index) {
    const int top = RowTop(index);
    const QFontMetrics metrics(painter.font());
    int p = 0;
    for (const QString& segment : line.split('^')) {
        if (segment.isEmpty()) continue;
        const QChar code = segment.front();
        if (code == 'I') {
            p += DrawSymbol(painter, symbolsFolder, segment.mid(1), static_cast<std::int16_t>(p + 16),
                            static_cast<std::int16_t>(top)) -
                 10;
            p += 16;
            continue;
        }
        const bool isColourCode = code == 'b' || code == 'g' || code == 'd' || code == 'r';
        const QString text = isColourCode ? segment.mid(1) : segment;
        painter.setPen(CodeColour(isColourCode ? code : QChar('b')));
        if (text.isEmpty()) continue;
        painter.drawText(p + 14, top + metrics.ascent(), text);
        p += metrics.horizontalAdvance(text);
    }
}

QString MessageLineText(const QString& line) {
    QString text;
    for (const QString& segment : line.split('^')) {
        if (segment.isEmpty()) continue;
        const QChar code = segment.front();
        if (code == 'I') {
            if (segment.mid(1) == QLatin1String("rechts")) text += QStringLiteral(" \u2192 ");
            continue;
        }
        const bool isColourCode = code == 'b' || code == 'g' || code == 'd' || code == 'r';
        text += isColourCode ? segment.mid(1) : segment;
    }
    return text;
}

}  // namespace notify
