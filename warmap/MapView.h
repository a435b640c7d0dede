#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace warmap {

// The map picture view (WarmapPic): keeps its drawing in a persistent image that repaints copy, and
// reports pointer movement in map pixels.
class MapView : public QWidget {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);

    void SetBackground(QImage background);
    const QImage& Background() const { return m_background; }
    QImage& Surface() { return m_surface; }

    std::function<void(QPointF)> onMouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_background;
    QImage m_surface;
};

}  // namespace warmap
