// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/StoryBand.h"

#include <QHelpEvent>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>

#include "feed/Frontier.h"
#include "history/ChangeText.h"
#include "notify/MessageLineRenderer.h"
#include "platform/NameText.h"

namespace history {
namespace {

constexpr int kBarHeight = 26;

QColor holderColour(const Holder& holder) {
    const std::optional<feed::Realm> realm = feed::realmFromName(holder.realm);
    return realm ? notify::realmColour(*realm) : QColor(Qt::gray);
}

}  // namespace

StoryBand::StoryBand(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("StoryBand"));
    setAccessibleName(tr("Halter im Lauf der Zeit"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize StoryBand::sizeHint() const {
    return {400, kBarHeight + fontMetrics().lineSpacing() + 6};
}

QSize StoryBand::minimumSizeHint() const {
    return {120, sizeHint().height()};
}

void StoryBand::setStory(std::vector<Hold> holds, Seconds from, Seconds to) {
    m_holds = std::move(holds);
    m_from = from;
    m_to = to;
    update();
}

QRectF StoryBand::barRect() const {
    return QRectF(0.5, 0.5, width() - 1.0, kBarHeight);
}

QRectF StoryBand::pieceOf(const Hold& hold) const {
    const QRectF bar = barRect();
    if (m_to <= m_from) return {};
    const Seconds start = std::max(hold.start, m_from), end = std::min(hold.end, m_to);
    if (end < start) return {};
    const auto x = [&](Seconds t) { return bar.left() + bar.width() * double(t - m_from) / double(m_to - m_from); };
    return QRectF(QPointF(x(start), bar.top()), QPointF(x(end), bar.bottom()));
}

void StoryBand::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF bar = barRect();
    // What the history has no holder for (the structure was not in the feed) stays the window's own.
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRect(bar);
    painter.setFont(font());
    for (const Hold& hold : m_holds) {
        const QRectF piece = pieceOf(hold);
        if (piece.isEmpty()) continue;
        painter.fillRect(piece, holderColour(hold.holder));
        // A thin parting line, so two holds of one realm by different guilds stay two.
        painter.fillRect(QRectF(piece.left(), piece.top(), 1, piece.height()), QColor(255, 255, 255, 160));
        const QString guild = platform::shownName(QString::fromStdString(hold.holder.guild));
        const QRectF room = piece.adjusted(4, 0, -3, 0);
        if (hold.holder.guild.empty() || room.width() < 3 * fontMetrics().averageCharWidth()) continue;
        painter.setPen(Qt::white);
        painter.drawText(room, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                         fontMetrics().elidedText(guild, Qt::ElideRight, int(room.width())));
    }
    if (m_to <= m_from) return;
    painter.setPen(palette().color(QPalette::WindowText));
    const QRectF below(0, bar.bottom() + 3, width(), fontMetrics().lineSpacing());
    painter.drawText(below, Qt::AlignLeft | Qt::AlignTop, localTimeText(m_from));
    painter.drawText(below, Qt::AlignRight | Qt::AlignTop, localTimeText(m_to));
}

bool StoryBand::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const QPoint at = static_cast<QHelpEvent*>(event)->pos();
    for (const Hold& hold : m_holds) {
        if (!pieceOf(hold).adjusted(-1, 0, 1, 0).contains(at)) continue;
        // Converted, so a guild's name is never read as markup.
        const QString text = holderText(hold.holder) + QLatin1Char('\n') + localTimeText(hold.start) +
                             QStringLiteral(" – ") + localTimeText(hold.end) + QStringLiteral(" · ") +
                             durationText(hold.length());
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), Qt::convertFromPlainText(text), this);
        return true;
    }
    QToolTip::hideText();
    return true;
}

}  // namespace history
