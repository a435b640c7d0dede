#include "notify/ChangePopup.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <cstdio>

#include "notify/Fader.h"
#include "notify/MessageLineRenderer.h"
#include "notify/PopupPlacement.h"
#include "platform/AccessibleRows.h"

namespace notify {
namespace {

// The size the popup is made at, before the first pass sizes it.
constexpr QSize kDesignSize(428, 234);
constexpr int kMarginPixels = 6;
constexpr Qt::WindowFlags kPopupFlags =
    Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;

// Assistive technology sees a notification whose children are the lines as text. The transparent
// popup of start-up has no lines: it is shown then, and a notification without name, text or
// visibility gives a screen reader nothing to announce. (Its role cannot change later: readers keep
// the first one they saw.)
class AccessiblePopup final : public platform::AccessibleRows {
public:
    explicit AccessiblePopup(ChangePopup* popup)
        : AccessibleRows(popup, QAccessible::Notification, popup->windowTitle(), [popup] { return rowsOf(*popup); }),
          m_popup(popup) {}

    QString text(QAccessible::Text kind) const override {
        return m_popup->lineTexts().isEmpty() ? QString() : AccessibleRows::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = AccessibleRows::state();
        if (m_popup->lineTexts().isEmpty()) state.invisible = true;
        return state;
    }

private:
    static std::vector<platform::AccessibleRow> rowsOf(const ChangePopup& popup) {
        std::vector<platform::AccessibleRow> rows;
        const int height = rowTop(1) - rowTop(0);
        for (int k = 0; k < popup.lineTexts().size(); ++k) {
            rows.push_back({QAccessible::StaticText, popup.lineTexts()[k], QRect(0, rowTop(k), popup.width(), height)});
        }
        return rows;
    }

    ChangePopup* m_popup;
};

QAccessibleInterface* accessiblePopupFor(const QString& className, QObject* object) {
    if (className != QLatin1String(ChangePopup::staticMetaObject.className()) || !object || !object->isWidgetType())
        return nullptr;
    return new AccessiblePopup(static_cast<ChangePopup*>(object));
}

}  // namespace

ChangePopup::ChangePopup(QString programFolder, QWidget* parent)
    : QWidget(parent, Qt::Tool | kPopupFlags | Qt::X11BypassWindowManagerHint),
      m_programFolder(std::move(programFolder)),
      m_endTimer(this),
      // A transparent popup left mapped would cover the screen once nothing shows opacity any more.
      m_compositorWatch([this] {
          if (isVisible() && windowOpacity() == 0.0) hide();
      }) {
    static const bool kAccessible = (QAccessible::installFactory(accessiblePopupFor), true);
    Q_UNUSED(kAccessible);
    setObjectName(QStringLiteral("ChangePopup"));
    setWindowTitle(tr("Warmap Frontbericht"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setFont(messageLineFont());
    // A fixed size also tells tiling Wayland compositors to float the popup.
    setFixedSize(kDesignSize);
    resizeSurface(size());

    m_endTimer.setObjectName(QStringLiteral("EndTimer"));
    m_endTimer.setSingleShot(true);
    m_endTimer.setTimerType(Qt::PreciseTimer);  // it promises 8 to 20 s, not "about"
    m_endTimer.setInterval(5000);
    connect(&m_endTimer, &QTimer::timeout, this, &ChangePopup::onEndTimer);

    // Load: transparent first, then shown on top, then the skin.
    create();
    setWindowAlpha(this, 0);
    show();
    setWindowAlpha(this, 0);  // the window handle exists now: clicks pass through it
}

void ChangePopup::setVisible(bool visible) {
    if (visible && !isVisible()) platform::keepOffTaskbar(this);
    QWidget::setVisible(visible);
    // Hidden, it shows nothing until the next notice draws a surface of its own: the pixels go back.
    if (!visible) m_surface = QImage();
}

void ChangePopup::setHeight(int pixels) {
    const QSize newSize(width(), pixels);
    setFixedSize(newSize);
    resizeSurface(newSize);
}

void ChangePopup::resizeSurface(QSize size) {
    // As many pixels as the screen has under the popup, so lines and skin stay sharp on a scaled screen.
    const qreal ratio = devicePixelRatioF();
    if (m_surface.deviceIndependentSize().toSize() == size && m_surface.devicePixelRatio() == ratio) return;
    m_surface = QImage(size * ratio, QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(ratio);
    m_surface.fill(Qt::white);
}

std::optional<platform::TaskbarRect> ChangePopup::taskbar() const {
    if (m_taskbarOverride) return *m_taskbarOverride;
    return platform::findTaskbar(QGuiApplication::primaryScreen());
}

QSize ChangePopup::screenSize() const {
    if (m_screenOverride) return *m_screenOverride;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

void ChangePopup::placeNextToTaskbar() {
    setFixedSize(kWidthPixels, height());
    resizeSurface(size());
    if (platform::isWayland()) {
        takeWaylandRole();
        return;
    }
    const QSize screen = screenSize();
    // Without a panel, as above a bottom panel of no height: the bottom-right corner, clear of menus.
    const platform::TaskbarRect none{0, screen.height(), screen.width(), screen.height()};
    if (const auto position = popupPosition(taskbar().value_or(none), screen, size())) move(*position);
}

void ChangePopup::takeWaylandRole() {
    QWidget* anchor = m_waylandAnchor ? m_waylandAnchor() : nullptr;
    const bool attached = anchor && anchor->isVisible() && !anchor->isMinimized() && anchor->windowHandle();
    if (!m_toldUnplaceable) {
        m_toldUnplaceable = true;
        std::fprintf(stderr,
                     "warmap: this Wayland session lets no program place its own windows; the change popup "
                     "appears in the Warmap window's corner while that is shown, else where the compositor "
                     "puts it, not above the taskbar\n");
    }
    // A tool tip with a parent becomes a popup surface of that parent: shown without focus, placed
    // relative to it. Changing the type needs a new native window, so only when it changes.
    const Qt::WindowFlags flags = (attached ? Qt::ToolTip : Qt::Tool) | kPopupFlags;
    if (windowFlags() != flags) {
        setWindowFlags(flags);
        create();
    }
    windowHandle()->setTransientParent(attached ? anchor->windowHandle() : nullptr);
    // A window of its own takes the focus from whatever the user is typing in, unless the compositor
    // agrees to a rule against that; asked once.
    if (!attached && !m_askedNoFocus) {
        m_askedNoFocus = true;
        platform::askCompositorNeverToFocus(windowTitle());
    }
    if (attached) {
        const QRect frame = anchor->geometry();
        move(frame.right() + 1 - width() - kMarginPixels, frame.bottom() + 1 - height() - kMarginPixels);
    }
}

void ChangePopup::drawSkin() {
    // The skin is read when the first popup needs it, so start-up only creates the window.
    if (!m_skinLoaded) {
        // The header picture carries the popup's caption: each language has its own.
        const QString files[] = {tr("/form/splash/top.gif", "the header picture, its caption drawn in it"),
                                 QStringLiteral("/form/splash/mid.jpg"), QStringLiteral("/form/splash/bottom.jpg")};
        for (size_t i = 0; i < m_skin.size(); ++i)
            m_skin[i] = platform::Picture::load(m_programFolder + files[i], devicePixelRatioF());
        m_skinLoaded = true;
    }
    // Start from a clean surface: a skin with a missing piece must never show an earlier popup's lines.
    resizeSurface(size());
    m_surface.fill(Qt::white);
    m_lineTexts.clear();
    QPainter painter(&m_surface);
    const auto& [top, mid, bottom] = m_skin;
    const QSize area = m_surface.deviceIndependentSize().toSize();
    if (mid && mid->roundedWidth() > 0 && mid->roundedHeight() > 0) {
        const int w = mid->roundedWidth();
        const int h = mid->roundedHeight();
        for (int x = 0; x <= area.width(); x += w) {
            for (int y = 0; y <= area.height(); y += h) mid->draw(painter, QPoint(x, y));
        }
    }
    if (bottom) bottom->draw(painter, QPoint(0, area.height() - bottom->roundedHeight()));
    if (top) top->draw(painter, QPoint(0, 0));
    update();
}

void ChangePopup::drawLine(const QString& line, int index) {
    QPainter painter(&m_surface);
    painter.setFont(font());
    drawMessageLine(painter, m_programFolder + QStringLiteral("/symbols"), line, index);
    if (index >= 0) {
        if (m_lineTexts.size() <= index) m_lineTexts.resize(index + 1);
        m_lineTexts[index] = messageLineText(line);
    }
    update();
}

void ChangePopup::announce() {
    // A hidden popup is announced by Qt when the fade shows it. Where opacity is shown it stays mapped
    // between notifications, and Qt sends nothing: then it is announced here.
    platform::accessibleRowsChanged(this);
    if (!isVisible()) return;
    QAccessibleEvent event(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
}

void ChangePopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_surface);
}

void ChangePopup::mousePressEvent(QMouseEvent*) {
    m_endTimer.stop();
    fadeOut(this);
}

void ChangePopup::onEndTimer() {
    m_endTimer.stop();
    fadeOut(this);
}

}  // namespace notify
