#include "warmap/MapView.h"

#include <QMouseEvent>
#include <QPainter>

namespace warmap {

MapView::MapView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MapView"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapView::setBackground(QImage background) {
    m_background = std::move(background);
    m_surface = m_background;  // shares the pixels until keeps are drawn on it
    setNaturalSize(m_background.deviceIndependentSize().toSize());
}

void MapView::setNaturalSize(QSize size) {
    m_naturalSize = size;
    setFixedSize(size);
}

void MapView::setOverlay(std::function<void(QPainter&)> overlay) {
    m_overlay = std::move(overlay);
    update();
}

QRectF MapView::mapRect() const {
    const QSizeF natural = naturalSize();
    if (natural.isEmpty() || size() == natural.toSize()) return QRectF(QPointF(0, 0), natural);
    const QSizeF shown = natural.scaled(QSizeF(size()).boundedTo(natural), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRectF map = mapRect();
    if (map.size() == QSizeF(naturalSize()) && map.topLeft().isNull()) {
        // Pixel for pixel: only the exposed part is copied.
        const QRectF exposed(event->rect());
        const qreal ratio = m_surface.devicePixelRatio();  // the surface may hold more pixels than the view
        painter.drawImage(exposed, m_surface, QRectF(exposed.topLeft() * ratio, exposed.size() * ratio));
    } else {
        painter.fillRect(rect(), palette().window());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(map, m_surface);
    }
    if (m_overlay) {
        painter.translate(map.topLeft());
        painter.scale(map.width() / naturalSize().width(), map.height() / naturalSize().height());
        m_overlay(painter);
    }
}

QPointF MapView::toMap(QPointF position) const {
    const QRectF map = mapRect();
    const QSizeF natural = naturalSize();
    if (map.isEmpty()) return position;
    const QPointF at = position - map.topLeft();
    return QPointF(at.x() * natural.width() / map.width(), at.y() * natural.height() / map.height());
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved(toMap(event->position()));
}

// The map handles its own presses, so they never reach the frame and never drag the window.
void MapView::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
void MapView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) emit clicked(toMap(event->position()));
}

}  // namespace warmap
