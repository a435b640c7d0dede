#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace warmap {

// The map picture view: keeps its drawing in a persistent image that repaints copy, and
// reports pointer movement in map pixels. At its natural size it shows the map pixel for pixel; made
// smaller (the history window on a small screen) it shows all of it, scaled, the proportions kept.
class MapView : public QWidget {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);

    // The map picture, kept: the surface starts out as it and is drawn over it again.
    void setBackground(QImage background);
    // Only the map's size, for a caller that hands each drawing its background itself.
    void setNaturalSize(QSize size);
    const QImage& background() const { return m_background; }
    QImage& surface() { return m_surface; }
    // The map's own size, in logical pixels.
    QSize naturalSize() const { return m_naturalSize; }

    QSize sizeHint() const override { return naturalSize(); }

    // Painted over the map in map pixels on every repaint, without touching the surface.
    void setOverlay(std::function<void(QPainter&)> overlay);

signals:
    // The pointer moved over the view; position in map pixels.
    void pointerMoved(QPointF position);
    // The left button was released over the view; position in map pixels.
    void clicked(QPointF position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Where the map lies in the view: all of it, centred, as large as fits and never larger.
    QRectF mapRect() const;
    // A point of the view in map pixels.
    QPointF toMap(QPointF position) const;

    QSize m_naturalSize;
    QImage m_background;
    QImage m_surface;
    std::function<void(QPainter&)> m_overlay;
};

}  // namespace warmap
