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
    setFixedSize(m_background.deviceIndependentSize().toSize());
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRectF exposed(event->rect());
    const qreal ratio = m_surface.devicePixelRatio();  // the surface may hold more pixels than the view
    painter.drawImage(exposed, m_surface, QRectF(exposed.topLeft() * ratio, exposed.size() * ratio));
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
