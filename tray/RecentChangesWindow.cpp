#include "tray/RecentChangesWindow.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "notify/ChangePopup.h"
#include "notify/MessageLineRenderer.h"
#include "platform/AccessibleRows.h"
#include "platform/ListKeys.h"
#include "platform/Picture.h"
#include "platform/Theme.h"
#include "tray/RecentChanges.h"
#include "tray/RecentChangesLayout.h"
#include "tray/TrayIcon.h"

namespace tray {

namespace {
const QColor kInk(theme::kInk);
const QColor kParchment(theme::kParchmentRecent);
const QColor kWood(theme::kWood);
constexpr int kLeft = 10;
}  // namespace

// The scrolled surface; paints only the rows an exposure touches.
class RecentChangesView : public QWidget {
public:
    RecentChangesView(const RecentChanges& changes, const QString& programFolder, QWidget* parent)
        : QWidget(parent), m_changes(changes), m_symbolsFolder(programFolder + QStringLiteral("/symbols")) {
        setObjectName(QStringLiteral("RecentChangesView"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        if (auto picture =
                platform::Picture::load(programFolder + QStringLiteral("/form/splash/mid.jpg"), devicePixelRatioF()))
            m_ground = QPixmap::fromImage(picture->image());
        setFont(notify::messageLineFont());
        // As wide as the popup, whose lines fit it and whose parchment has its edges at both sides.
        setFixedWidth(notify::ChangePopup::kWidthPixels);
    }

    // What is drawn, as text: the headings and the lines as a person reads them.
    std::vector<platform::AccessibleRow> rows() const {
        std::vector<platform::AccessibleRow> rows;
        const auto& passes = m_changes.passes();
        if (passes.empty()) {
            rows.push_back({QAccessible::StaticText, emptyText(), rect()});
            return rows;
        }
        for (const RecentRow& row : layOutRecentChanges(passes)) {
            const PassChanges& pass = passes[row.pass];
            const QRect area(0, row.top, width(), recentRowHeight(row));
            if (row.kind == RecentRow::Kind::Heading) {
                rows.push_back({QAccessible::Heading, QString::fromStdString(recentHeading(pass)), area});
            } else {
                rows.push_back({QAccessible::StaticText,
                                notify::messageLineText(QString::fromStdString(pass.lines[row.line])), area});
            }
        }
        return rows;
    }

    static QString emptyText() {
        return RecentChangesWindow::tr("Seit dem Start hat noch kein Abgleich etwas geändert.");
    }

    void relayout() { setMinimumHeight(std::max(recentChangesHeight(m_changes.passes()), 60)); }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        const QRect exposed = event->rect();
        if (m_ground.isNull()) {
            painter.fillRect(exposed, kParchment);
        } else {
            painter.drawTiledPixmap(exposed, m_ground, exposed.topLeft());
        }
        const auto& passes = m_changes.passes();
        if (passes.empty()) {
            painter.setPen(kInk);
            painter.drawText(rect().adjusted(kLeft, kRecentMarginTop, -kLeft, 0), Qt::AlignHCenter | Qt::TextWordWrap,
                             emptyText());
            return;
        }
        for (const RecentRow& row : layOutRecentChanges(passes)) {
            const int height = recentRowHeight(row);
            if (row.top > exposed.bottom()) break;
            if (row.top + height < exposed.top()) continue;
            const PassChanges& pass = passes[row.pass];
            if (row.kind == RecentRow::Kind::Heading) {
                painter.setFont(font());
                painter.setPen(kInk);
                painter.drawText(QRect(kLeft, row.top, width() - 2 * kLeft, height - 4),
                                 Qt::AlignLeft | Qt::AlignBottom, QString::fromStdString(recentHeading(pass)));
                painter.drawLine(kLeft, row.top + height - 2, width() - kLeft, row.top + height - 2);
                continue;
            }
            // The renderer puts row 0 at its own top; move it to this row.
            painter.setFont(font());
            painter.save();
            painter.translate(0, row.top - notify::rowTop(0));
            notify::drawMessageLine(painter, m_symbolsFolder, QString::fromStdString(pass.lines[row.line]), 0);
            painter.restore();
        }
    }

private:
    const RecentChanges& m_changes;
    QString m_symbolsFolder;
    QPixmap m_ground;
};

namespace {

// The view has no class name of its own for Qt's factories: it is found by its type.
QAccessibleInterface* accessibleRecentChanges(const QString& className, QObject* object) {
    if (className != QLatin1String("QWidget")) return nullptr;
    auto* view = dynamic_cast<RecentChangesView*>(object);
    if (!view) return nullptr;
    return new platform::AccessibleRows(view, QAccessible::Pane, RecentChangesWindow::tr("Letzte Meldungen"),
                                        [view] { return view->rows(); });
}

}  // namespace

RecentChangesWindow::RecentChangesWindow(const RecentChanges& changes, const QString& programFolder, QWidget* parent)
    : QScrollArea(parent) {
    static const bool kAccessible = (QAccessible::installFactory(accessibleRecentChanges), true);
    Q_UNUSED(kAccessible);
    setObjectName(QStringLiteral("RecentChangesWindow"));
    setWindowTitle(tr("Warmap — Letzte Meldungen"));
    setAccessibleName(tr("Warmap — Letzte Meldungen"));
    setWindowIcon(trayPicture(programFolder));
    m_view = new RecentChangesView(changes, programFolder, this);
    setWidget(m_view);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Where no scroll bar is needed, the parchment stands centred in the popup's dark wood.
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette wood = viewport()->palette();
    wood.setColor(QPalette::Window, kWood);
    viewport()->setPalette(wood);
    viewport()->setAutoFillBackground(true);
    setFrameShape(QFrame::NoFrame);
    setFixedWidth(notify::ChangePopup::kWidthPixels + verticalScrollBar()->sizeHint().width());
    resize(width(), 460);
    refresh();
}

void RecentChangesWindow::refresh() {
    m_view->relayout();
    m_view->update();
    platform::accessibleRowsChanged(m_view);
}

QWidget* RecentChangesWindow::view() const {
    return m_view;
}

void RecentChangesWindow::keyPressEvent(QKeyEvent* event) {
    if (!platform::scrollToEnd(*this, *event)) QScrollArea::keyPressEvent(event);
}

}  // namespace tray
