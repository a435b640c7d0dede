#include "warmap/WarmapFRM.h"

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
    void SetPicture(const QImage& picture) {
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
void SetLabelText(QLabel* label, const QString& what, const QString& text) {
    if (label->text() == text && !label->accessibleName().isEmpty()) return;
    label->setText(text);
    const QString shown = text.trimmed();
    const bool blank = shown.isEmpty() || shown == QLatin1String("_") || shown == QLatin1String("&");
    label->setAccessibleName(what + QStringLiteral(": ") + (blank ? QStringLiteral("keine Angabe") : shown));
}

const QString kDatumName = QStringLiteral("Stand der Karte");
const QString kHoverName = QStringLiteral("Festung unter dem Mauszeiger");

QAccessibleInterface* AccessibleWarmapWindow(const QString& className, QObject* object) {
    if (className != QLatin1String("warmap::WarmapFRM") || !object || !object->isWidgetType()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

}  // namespace

WarmapFRM::WarmapFRM(QString programFolder, platform::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_programFolder(std::move(programFolder)),
      m_dialogs(dialogs),
      m_names(m_programFolder.toStdString()),
      m_keepMap(m_programFolder, keepmap::KeepPos) {
    static const bool accessible = (QAccessible::installFactory(AccessibleWarmapWindow), true);
    Q_UNUSED(accessible);
    setObjectName(QStringLiteral("WarmapFRM"));
    setWindowTitle(QStringLiteral(".:: Warmap"));
    setAccessibleName(QStringLiteral("Warmap"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(theme::PanelFont(8.25, false));
    resize(626, 624);

    m_map = new MapView(this);
    m_map->setGeometry(8, 16, 465, 577);
    m_map->setAccessibleName(QStringLiteral("Karte der Grenzlande"));
    m_map->onMouseMove = [this](QPointF position) { WarmapPic_MouseMove(position); };

    m_serverCmb = new QComboBox(m_map);
    m_serverCmb->setObjectName(QStringLiteral("ServerCmb"));
    m_serverCmb->setEditable(false);
    m_serverCmb->setGeometry(10, 10, 90, 21);
    m_serverCmb->setAccessibleName(QStringLiteral("Server"));
    // On Linux a list is read by its choice and named by the label it is the buddy of; the skin
    // needs no visible one.
    auto* serverLabel = new QLabel(QStringLiteral("Server"), m_map);
    serverLabel->setBuddy(m_serverCmb);
    serverLabel->hide();
    m_serverCmb->setFont(theme::PanelFont(8.25, true, true));
    connect(m_serverCmb, &QComboBox::activated, this, [this] { ServerCmb_Click(); });

    m_datumLbl = new QLabel(m_map);
    SetLabelText(m_datumLbl, kDatumName, QStringLiteral("&"));
    m_datumLbl->setObjectName(QStringLiteral("DatumLbl"));
    m_datumLbl->setGeometry(6, 40, 97, 33);
    m_datumLbl->setToolTip(QStringLiteral("ORSKA-Zeitstempel"));
    m_datumLbl->setFont(theme::PanelFont(6, false));
    m_datumLbl->setTextFormat(Qt::PlainText);
    m_datumLbl->setWordWrap(true);
    m_datumLbl->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_datumLbl->setStyleSheet(QStringLiteral("color: %1;").arg(theme::Css(theme::kInk)));

    m_hoverLbl = new QLabel(m_map);
    SetLabelText(m_hoverLbl, kHoverName, QStringLiteral("_"));
    m_hoverLbl->setObjectName(QStringLiteral("HoverLbl"));
    m_hoverLbl->setGeometry(10, 165, 89, 49);
    m_hoverLbl->setFont(theme::PanelFont(6.75, true));
    m_hoverLbl->setTextFormat(Qt::PlainText);
    m_hoverLbl->setWordWrap(true);
    m_hoverLbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_hoverLbl->setStyleSheet(QStringLiteral("color: black;"));
    // Labels lie on the map; hovering goes on beneath them. The date label keeps the pointer for its
    // tooltip and hands every move on to the map.
    m_hoverLbl->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_datumLbl->setMouseTracking(true);
    m_datumLbl->installEventFilter(this);

    const QPoint buttonPositions[2] = {{392, 2}, {376, 2}};
    const char* tooltips[2] = {"schliessen", "minimieren"};
    const char* names[2] = {"Schlie\u00dfen", "Minimieren"};
    for (int i = 0; i < 2; ++i) {
        auto* button = new PictureButton(this);
        button->setObjectName(QStringLiteral("SysBut"));
        button->setProperty("index", i);
        button->setToolTip(QString::fromUtf8(tooltips[i]));
        button->setAccessibleName(QString::fromUtf8(names[i]));
        button->setGeometry(QRect(buttonPositions[i], QSize(17, 17)));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QAbstractButton::clicked, this, [this, i] { SysBut_Click(i); });
        m_sysBut[i] = button;
    }
}

base::Result<void, QString> WarmapFRM::Load() {
    return Load(LoadSkin(m_programFolder, devicePixelRatioF()));
}

base::Result<void, QString> WarmapFRM::Load(SkinResult loaded, bool tellNoSavedCopy) {
    m_serverCmb->setStyleSheet(
        QStringLiteral("QComboBox { background-color: %1; color: %2; border: 1px solid %3; padding-left: 3px; }"
                       " QComboBox QAbstractItemView { background-color: %1; color: %2; selection-background-color: %4; }")
            .arg(theme::Css(theme::kServerField), theme::Css(theme::kServerText), theme::Css(theme::kServerBorder),
                 theme::Css(theme::kServerSelection)));
    m_serverCmb->clear();
    for (std::string_view server : feed::ServerNames) m_serverCmb->addItem(platform::NameText(server));

    if (!loaded) return base::Failure{loaded.error()};
    Skin& skin = *loaded;
    static_cast<PictureButton*>(m_sysBut[0])->SetPicture(skin.closeButton);
    static_cast<PictureButton*>(m_sysBut[1])->SetPicture(skin.minimiseButton);
    m_map->SetBackground(std::move(skin.mapBackground));
    m_frame = std::move(skin.frame);
    setFixedSize(m_frame.size);
    m_map->move(skin.mapLeft, skin.mapTop);
    if (skin.windowIcon) setWindowIcon(QIcon(QPixmap::fromImage(*skin.windowIcon)));

    m_serverCmb->setCurrentIndex(0);
    ServerCmb_Click(tellNoSavedCopy);
    return {};
}

void WarmapFRM::ServerCmb_Click(bool tellNoSavedCopy) {
    SetLabelText(m_datumLbl, kDatumName, QString());
    const std::string path = feed::SavedCopyPath(platform::TempFolder(), m_serverCmb->currentText().toStdString());
    const keepmap::MapOutcome outcome = m_keepMap.Draw(path, m_map->Surface(), m_map->Background());
    if (outcome.date) SetLabelText(m_datumLbl, kDatumName, QString::fromStdString(*outcome.date));
    switch (outcome.status) {
        case keepmap::MapOutcome::Status::NoSavedCopy:
            if (tellNoSavedCopy)
                m_dialogs.Show({"noch keine daten geladen f\xc3\xbcr diesen Server", platform::kApplicationTitle,
                                platform::Message::Icon::None});
            break;
        case keepmap::MapOutcome::Status::Failed:
            qCWarning(lcMap, "cannot draw the map of %s from %s: %s", qPrintable(m_serverCmb->currentText()),
                      path.c_str(), outcome.failure.c_str());
            m_dialogs.Show({"Fehler: " + outcome.failure, "Fehler", platform::Message::Icon::Critical});
            break;
        case keepmap::MapOutcome::Status::Drawn:
            break;
    }
    // A failed drawing shows too: what was drawn before the failure, never the previous server's map.
    m_map->update();
}

void WarmapFRM::WarmapPic_MouseMove(QPointF position) {
    const std::string text =
        keepmap::HoverText(position.x(), position.y(), m_keepMap.HitMap(), m_keepMap.KeepGuild(), m_names);
    SetLabelText(m_hoverLbl, kHoverName, QString::fromStdString(text));
}

bool WarmapFRM::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_datumLbl && event->type() == QEvent::MouseMove) {
        WarmapPic_MouseMove(m_datumLbl->mapTo(m_map, static_cast<QMouseEvent*>(event)->position()));
    }
    return QWidget::eventFilter(watched, event);
}

void WarmapFRM::SysBut_Click(int index) {
    if (index == 0) close();
    if (index == 1) showMinimized();
}

void WarmapFRM::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void WarmapFRM::paintEvent(QPaintEvent*) {
    // Only the exposed part is touched: the window system clips the painter to it.
    QPainter painter(this);
    DrawFrame(painter, m_frame);
}

void WarmapFRM::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // Let the window system move the window; where it cannot, follow the mouse ourselves.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void WarmapFRM::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragOffset && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - *m_dragOffset);
}

void WarmapFRM::mouseReleaseEvent(QMouseEvent*) {
    m_dragOffset.reset();
}

}  // namespace warmap
