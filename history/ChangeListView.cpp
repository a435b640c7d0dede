// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/ChangeListView.h"

#include <QPainter>
#include <QScrollBar>

#include "notify/MessageLineRenderer.h"

namespace history {
namespace {
constexpr int kRowHeight = 15;  // the popup's line height
const QColor kParchment(236, 226, 196);
}  // namespace

ChangeListView::ChangeListView(QString symbolsFolder, QWidget* parent)
    : QAbstractScrollArea(parent), m_symbolsFolder(std::move(symbolsFolder)) {
    setObjectName(QStringLiteral("ChangeList"));
    setAccessibleName(QStringLiteral("Änderungen im Zeitraum"));
    verticalScrollBar()->setSingleStep(kRowHeight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ChangeListView::SetRows(std::size_t rows, std::function<std::string(std::size_t)> line) {
    m_rows = rows;
    m_line = std::move(line);
    UpdateScrollBar();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

QString ChangeListView::RowText(std::size_t row) const {
    return row < m_rows ? notify::MessageLineText(QString::fromStdString(m_line(row))) : QString();
}

void ChangeListView::UpdateScrollBar() {
    const qint64 height = static_cast<qint64>(m_rows) * kRowHeight + kRowHeight;
    verticalScrollBar()->setRange(0, static_cast<int>(std::min<qint64>(height - viewport()->height(), INT_MAX / 2)));
    verticalScrollBar()->setPageStep(viewport()->height());
}

void ChangeListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
}

void ChangeListView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kParchment);
    painter.setFont(notify::MessageLineFont());
    const int offset = verticalScrollBar()->value();
    const int firstRow = offset / kRowHeight;
    const auto first = static_cast<std::size_t>(firstRow);
    // Row k of the popup lies at RowTop(k); here row i lies at i * kRowHeight less the scrolling.
    painter.translate(4, firstRow * kRowHeight - offset - notify::RowTop(0) + 2);
    for (std::size_t row = first; row < m_rows; ++row) {
        const auto index = static_cast<std::int16_t>(row - first);
        if (index * kRowHeight > viewport()->height()) break;
        notify::DrawMessageLine(painter, m_symbolsFolder, QString::fromStdString(m_line(row)), index);
    }
}

}  // namespace history
