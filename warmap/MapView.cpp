#include "warmap/MapView.h"

#include <QMouseEvent>
#include <QPainter>

namespace warmap {

MapView::MapView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("WarmapPic"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapView::SetBackground(QImage background) {
    m_background = std::move(background);
    m_surface = m_background;  // shares the pixels until keeps are drawn on it
    setFixedSize(m_background.size());
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), m_surface, event->rect());
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove(event->position());
}

// The map handles its own presses, so they never reach the frame and never drag the window.
void MapView::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
void MapView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

}  // namespace warmap
