#include "warmap/MapWindow.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "feed/FeedPaths.h"
#include "feed/Frontier.h"
#include "keepmap/Hover.h"
#include "keepmap/KeepPos.h"
#include "platform/Dialogs.h"
#include "platform/Logging.h"
#include "platform/NameText.h"
#include "platform/Paths.h"
#include "platform/Picture.h"
#include "platform/Theme.h"
#include "warmap/MapView.h"

namespace warmap {
namespace {

// A button that is just its picture, at the picture's size.
class PictureButton : public QAbstractButton {
public:
    using QAbstractButton::QAbstractButton;
    void setPicture(const QImage& picture) {
        m_picture = picture;
        setFixedSize(picture.deviceIndependentSize().toSize());
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, m_picture);
        if (isDown()) painter.fillRect(rect(), QColor(0, 0, 0, 60));
    }

private:
    QImage m_picture;
};

// A label's text alone ("08.12.2026 14:03:09") means little when read out: its accessible name says
// what it shows. A label without text yet shows "keine Angabe".
void setLabelText(QLabel* label, const QString& what, const QString& text) {
    if (label->text() == text && !label->accessibleName().isEmpty()) return;
    label->setText(text);
    const QString shown = text.trimmed();
    const bool blank = shown.isEmpty() || shown == QLatin1String("_") || shown == QLatin1String("&");
    label->setAccessibleName(what + QStringLiteral(": ") + (blank ? MapWindow::tr("keine Angabe") : shown));
}

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// What the two labels show, for their accessible names.
QString dateLabelName() {
    return MapWindow::tr("Stand der Karte");
}
QString hoverLabelName() {
    return MapWindow::tr("Festung unter dem Mauszeiger");
}

QAccessibleInterface* accessibleWarmapWindow(const QString& className, QObject* object) {
    if (className != QLatin1String(MapWindow::staticMetaObject.className()) || !object || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

}  // namespace

MapWindow::MapWindow(QString programFolder, platform::Dialogs& dialogs, const platform::PictureCache* pictures,
                     QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_programFolder(std::move(programFolder)),
      m_dialogs(dialogs),
      m_names(m_programFolder.toStdString()),
      m_pictures(pictures),
      m_keepMap(m_programFolder, keepmap::kKeepPos, pictures) {
    static const bool kAccessible = (QAccessible::installFactory(accessibleWarmapWindow), true);
    Q_UNUSED(kAccessible);
    setObjectName(QStringLiteral("MapWindow"));
    setWindowTitle(QStringLiteral(".:: Warmap"));
    setAccessibleName(QStringLiteral("Warmap"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(theme::panelFont(8.25, false));
    resize(626, 624);

    m_map = new MapView(this);
    m_map->setGeometry(8, 16, 465, 577);
    m_map->setAccessibleName(tr("Karte der Grenzlande"));
    connect(m_map, &MapView::pointerMoved, this, &MapWindow::updateHoverText);

    m_serverCombo = new QComboBox(m_map);
    m_serverCombo->setObjectName(QStringLiteral("ServerCombo"));
    m_serverCombo->setEditable(false);
    m_serverCombo->setGeometry(10, 10, 90, 21);
    m_serverCombo->setAccessibleName(tr("Server"));
    // On Linux a list is read by its choice and named by the label it is the buddy of; the skin
    // needs no visible one.
    auto* serverLabel = new QLabel(tr("Server"), m_map);
    serverLabel->setBuddy(m_serverCombo);
    serverLabel->hide();
    m_serverCombo->setFont(theme::panelFont(8.25, true, true));
    connect(m_serverCombo, &QComboBox::activated, this, [this] { showSelectedServer(); });

    m_dateLabel = new QLabel(m_map);
    setLabelText(m_dateLabel, dateLabelName(), QStringLiteral("&"));
    m_dateLabel->setObjectName(QStringLiteral("DateLabel"));
    m_dateLabel->setGeometry(6, 40, 97, 33);
    m_dateLabel->setToolTip(tr("ORSKA-Zeitstempel"));
    m_dateLabel->setFont(theme::panelFont(6, false));
    m_dateLabel->setTextFormat(Qt::PlainText);
    m_dateLabel->setWordWrap(true);
    m_dateLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Colours by palette, not style sheet: a style sheet on a label costs the first frame half a MiB.
    setTextColour(m_dateLabel, QColor(theme::kInk));

    m_hoverLabel = new QLabel(m_map);
    setLabelText(m_hoverLabel, hoverLabelName(), QStringLiteral("_"));
    m_hoverLabel->setObjectName(QStringLiteral("HoverLabel"));
    m_hoverLabel->setGeometry(10, 165, 89, 49);
    m_hoverLabel->setFont(theme::panelFont(6.75, true));
    m_hoverLabel->setTextFormat(Qt::PlainText);
    m_hoverLabel->setWordWrap(true);
    m_hoverLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(m_hoverLabel, Qt::black);
    // Labels lie on the map; hovering goes on beneath them. The date label keeps the pointer for its
    // tooltip and hands every move on to the map.
    m_hoverLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_dateLabel->setMouseTracking(true);
    m_dateLabel->installEventFilter(this);

    // Close first, then minimise: the order assistive technology reads them in.
    const auto addFrameButton = [this](const char* objectName, QPoint position, const QString& tooltip,
                                       const QString& name) {
        auto* button = new PictureButton(this);
        button->setObjectName(QString::fromLatin1(objectName));
        button->setToolTip(tooltip);
        button->setAccessibleName(name);
        button->setGeometry(QRect(position, QSize(17, 17)));
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    m_closeButton = addFrameButton("CloseButton", {392, 2}, tr("schliessen"), tr("Schließen"));
    connect(m_closeButton, &QAbstractButton::clicked, this, &QWidget::close);
    m_minimizeButton = addFrameButton("MinimizeButton", {376, 2}, tr("minimieren"), tr("Minimieren"));
    connect(m_minimizeButton, &QAbstractButton::clicked, this, &QWidget::showMinimized);
}

base::Result<void, QString> MapWindow::load() {
    return load(loadSkin(m_programFolder, devicePixelRatioF(), m_pictures));
}

base::Result<void, QString> MapWindow::load(SkinResult loaded, bool tellNoSavedCopy) {
    m_serverCombo->setStyleSheet(
        QStringLiteral(
            "QComboBox { background-color: %1; color: %2; border: 1px solid %3; padding-left: 3px; }"
            " QComboBox QAbstractItemView { background-color: %1; color: %2; selection-background-color: %4; }")
            .arg(theme::css(theme::kServerField), theme::css(theme::kServerText), theme::css(theme::kServerBorder),
                 theme::css(theme::kServerSelection)));
    m_serverCombo->clear();
    for (std::string_view server : feed::kServerNames) m_serverCombo->addItem(platform::nameText(server));

    if (!loaded) return base::Failure{loaded.error()};
    Skin& skin = *loaded;
    static_cast<PictureButton*>(m_closeButton)->setPicture(skin.closeButton);
    static_cast<PictureButton*>(m_minimizeButton)->setPicture(skin.minimiseButton);
    m_mapPicture = std::move(skin.mapPicture);
    m_map->setNaturalSize(skin.mapBackground.deviceIndependentSize().toSize());
    // The bare map until the first drawing, and for good when there is no copy to draw.
    m_map->surface() = skin.mapBackground;
    m_firstBackground = std::move(skin.mapBackground);
    m_frame = std::move(skin.frame);
    setFixedSize(m_frame.size);
    m_map->move(skin.mapLeft, skin.mapTop);
    if (skin.windowIcon) setWindowIcon(QIcon(QPixmap::fromImage(*skin.windowIcon)));

    m_serverCombo->setCurrentIndex(0);
    showSelectedServer(tellNoSavedCopy);
    return {};
}

void MapWindow::showSelectedServer(bool tellNoSavedCopy) {
    setLabelText(m_dateLabel, dateLabelName(), QString());
    const std::string path = feed::savedCopyPath(platform::tempFolder(), m_serverCombo->currentText().toStdString());
    QImage background = m_firstBackground.isNull() ? m_mapPicture.decode() : std::exchange(m_firstBackground, {});
    const keepmap::MapOutcome outcome =
        m_keepMap.draw(path, m_map->surface(), std::move(background), platform::snapshotFolder());
    if (outcome.date) setLabelText(m_dateLabel, dateLabelName(), QString::fromStdString(*outcome.date));
    switch (outcome.status) {
        case keepmap::MapOutcome::Status::NoSavedCopy:
            if (tellNoSavedCopy)
                m_dialogs.show({tr("noch keine daten geladen für diesen Server").toStdString(),
                                platform::kApplicationTitle, platform::Message::Icon::None});
            break;
        case keepmap::MapOutcome::Status::Failed:
            qCWarning(lcMap, "cannot draw the map of %s from %s: %s", qPrintable(m_serverCombo->currentText()),
                      path.c_str(), outcome.failure.c_str());
            m_dialogs.show(platform::failureMessage(outcome.failure));
            break;
        case keepmap::MapOutcome::Status::Drawn:
            break;
    }
    // A failed drawing shows too: what was drawn before the failure, never the previous server's map.
    m_map->update();
}

void MapWindow::setMarkedGuild(const QString& guild) {
    if (guild.toStdString() == m_keepMap.markedGuild()) return;
    m_keepMap.setMarkedGuild(guild.toStdString());
    if (!m_mapPicture.encoded.isEmpty()) showSelectedServer(false);
}

void MapWindow::updateHoverText(QPointF position) {
    const std::string text = keepmap::hoverText(position.x(), position.y(), m_keepMap.hitMap(), m_keepMap.keepGuild(),
                                                m_names, m_keepMap.markedGuild());
    setLabelText(m_hoverLabel, hoverLabelName(), QString::fromStdString(text));
}

bool MapWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_dateLabel && event->type() == QEvent::MouseMove) {
        updateHoverText(m_dateLabel->mapTo(m_map, static_cast<QMouseEvent*>(event)->position()));
    }
    return QWidget::eventFilter(watched, event);
}

void MapWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void MapWindow::paintEvent(QPaintEvent*) {
    // Only the exposed part is touched: the window system clips the painter to it.
    QPainter painter(this);
    drawFrame(painter, m_frame);
}

void MapWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // Let the window system move the window; where it cannot, follow the mouse ourselves.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MapWindow::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragOffset && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - *m_dragOffset);
}

void MapWindow::mouseReleaseEvent(QMouseEvent*) {
    m_dragOffset.reset();
}

}  // namespace warmap
