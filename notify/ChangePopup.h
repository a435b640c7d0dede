#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "platform/Picture.h"
#include "platform/Taskbar.h"
#include "platform/WindowSystem.h"

namespace notify {

// The change popup: frameless, always on top, 280 pixels wide, never focused and never on the taskbar.
// It lives for the whole run at alpha 0 and becomes visible only by fading. Skin and lines are drawn on
// a persistent surface that every repaint copies, so the lines stay until the fade-out ends.
class ChangePopup : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidthPixels = 280;

    // programFolder holds form/splash/ and symbols/.
    explicit ChangePopup(QString programFolder, QWidget* parent = nullptr);

    // The height in logical pixels, as the refresh pass sets it before placing the popup.
    void setHeight(int pixels);

    // Width 280 pixels; then placed 6 pixels clear of the taskbar in the corner next to it; with no
    // taskbar it keeps its position.
    void placeNextToTaskbar();
    // Tiles the mid picture over the surface, then draws the bottom and top pictures.
    void drawSkin();
    // Draws one message line on row index.
    void drawLine(const QString& line, int index);

    // Tells assistive technology that the popup now shows its lines (a screen reader reads them out);
    // call before the fade-in.
    void announce();
    // The lines drawn since the last drawSkin, as a person reads them.
    const QStringList& lineTexts() const { return m_lineTexts; }

    QTimer& endTimer() { return m_endTimer; }
    const QImage& surface() const { return m_surface; }

    // Stands in for the taskbar query in tests: returns this rectangle (or none) instead.
    void setTaskbarOverride(std::optional<std::optional<platform::TaskbarRect>> rect) { m_taskbarOverride = rect; }
    // The screen size in pixels used for placement; the primary screen's unless overridden.
    void setScreenOverride(std::optional<QSize> size) { m_screenOverride = size; }

    // On Wayland alone the popup cannot place itself and a compositor focuses every new top-level
    // window. While this window (the Warmap window) is shown, the popup is attached to it as a
    // surface that never takes focus, in its bottom-right corner; otherwise it is a fixed-size
    // window, which tiling compositors float, and where the compositor takes rules (sway) it is
    // asked never to focus it.
    void setWaylandAnchor(std::function<QWidget*()> anchor) { m_waylandAnchor = std::move(anchor); }

    // Showing it keeps it off the taskbar and the pager.
    void setVisible(bool visible) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void onEndTimer();
    void takeWaylandRole();
    void resizeSurface(QSize size);
    std::optional<platform::TaskbarRect> taskbar() const;
    QSize screenSize() const;

    QString m_programFolder;
    std::array<std::optional<platform::Picture>, 3> m_skin;  // top, mid, bottom
    bool m_skinLoaded = false;
    bool m_toldUnplaceable = false;
    bool m_askedNoFocus = false;
    QImage m_surface;
    QStringList m_lineTexts;
    QTimer m_endTimer;
    std::optional<std::optional<platform::TaskbarRect>> m_taskbarOverride;
    std::optional<QSize> m_screenOverride;
    std::function<QWidget*()> m_waylandAnchor;
    platform::CompositorWatch m_compositorWatch;
};

}  // namespace notify
