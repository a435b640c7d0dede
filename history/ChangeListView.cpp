// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/ChangeListView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include "notify/MessageLineRenderer.h"
#include "platform/ListKeys.h"
#include "platform/Theme.h"

namespace history {
namespace {
constexpr int kRowHeight = theme::kLineHeight;
constexpr int kTextLeft = 18;  // where drawMessageLine starts the text, the view's margin included
const QColor kParchment(theme::kParchmentChangeList);

// The rows are painted, not widgets: assistive technology reads the viewport as a list of them.
QAccessibleInterface* accessibleChangeList(const QString& className, QObject* object) {
    if (className != QLatin1String("QWidget")) return nullptr;
    auto* viewport = qobject_cast<QWidget*>(object);
    auto* list = viewport ? qobject_cast<ChangeListView*>(viewport->parentWidget()) : nullptr;
    if (!list || list->viewport() != viewport) return nullptr;
    return new platform::AccessibleRows(viewport, QAccessible::List, list->accessibleName(),
                                        [list] { return list->visibleRows(); });
}
}  // namespace

ChangeListView::ChangeListView(QString symbolsFolder, QWidget* parent)
    : QAbstractScrollArea(parent), m_symbolsFolder(std::move(symbolsFolder)) {
    static const bool kAccessible = (QAccessible::installFactory(accessibleChangeList), true);
    Q_UNUSED(kAccessible);
    setObjectName(QStringLiteral("ChangeList"));
    setAccessibleName(tr("Änderungen im Zeitraum"));
    verticalScrollBar()->setSingleStep(kRowHeight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ChangeListView::setRows(std::size_t rows, std::function<std::string(std::size_t)> line) {
    m_rows = rows;
    m_line = std::move(line);
    updateScrollBar();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    platform::accessibleRowsChanged(viewport());
}

std::vector<platform::AccessibleRow> ChangeListView::visibleRows() const {
    std::vector<platform::AccessibleRow> rows;
    const int offset = verticalScrollBar()->value();
    for (auto row = static_cast<std::size_t>(offset / kRowHeight); row < m_rows; ++row) {
        const int top = static_cast<int>(row) * kRowHeight - offset + 2;
        if (top > viewport()->height()) break;
        rows.push_back(
            {QAccessible::ListItem, rowText(row), QRect(kTextLeft, top, viewport()->width() - kTextLeft, kRowHeight)});
    }
    return rows;
}

void ChangeListView::keyPressEvent(QKeyEvent* event) {
    if (!platform::scrollToEnd(*this, *event)) QAbstractScrollArea::keyPressEvent(event);
}

void ChangeListView::scrollContentsBy(int dx, int dy) {
    QAbstractScrollArea::scrollContentsBy(dx, dy);
    platform::accessibleRowsChanged(viewport());
}

QString ChangeListView::rowText(std::size_t row) const {
    return row < m_rows ? notify::messageLineText(QString::fromStdString(m_line(row))) : QString();
}

void ChangeListView::updateScrollBar() {
    const qint64 height = static_cast<qint64>(m_rows) * kRowHeight + kRowHeight;
    verticalScrollBar()->setRange(0, static_cast<int>(std::min<qint64>(height - viewport()->height(), INT_MAX / 2)));
    verticalScrollBar()->setPageStep(viewport()->height());
}

void ChangeListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void ChangeListView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kParchment);
    painter.setFont(notify::messageLineFont());
    const int offset = verticalScrollBar()->value();
    const int firstRow = offset / kRowHeight;
    const auto first = static_cast<std::size_t>(firstRow);
    // Row k of the popup lies at rowTop(k); here row i lies at i * kRowHeight less the scrolling.
    painter.translate(4, firstRow * kRowHeight - offset - notify::rowTop(0) + 2);
    for (std::size_t row = first; row < m_rows; ++row) {
        const auto index = static_cast<int>(row - first);
        if (index * kRowHeight > viewport()->height()) break;
        notify::drawMessageLine(painter, m_symbolsFolder, QString::fromStdString(m_line(row)), index);
    }
}

}  // namespace history
