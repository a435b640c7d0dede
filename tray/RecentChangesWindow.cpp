#include "tray/RecentChangesWindow.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "notify/MessageLineRenderer.h"
#include "notify/SplashFrm.h"
#include "platform/Picture.h"
#include "tray/RecentChanges.h"
#include "tray/RecentChangesLayout.h"

namespace tray {

namespace {
const QColor kInk(70, 48, 26);
const QColor kParchment(232, 220, 190);
constexpr int kLeft = 10;
}  // namespace

// The scrolled surface; paints only the rows an exposure touches.
class RecentChangesView : public QWidget {
public:
    RecentChangesView(const RecentChanges& changes, const QString& programFolder, QWidget* parent)
        : QWidget(parent), m_changes(changes), m_symbolsFolder(programFolder + QStringLiteral("/symbols")) {
        setObjectName(QStringLiteral("RecentChangesView"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        if (auto picture = platform::Picture::Load(programFolder + QStringLiteral("/form/splash/mid.jpg")))
            m_ground = QPixmap::fromImage(picture->Image());
        setFont(notify::MessageLineFont());
        // As wide as the popup, whose lines fit it and whose parchment has its edges at both sides.
        setFixedWidth(notify::SplashFrm::kWidthPixels);
    }

    void Relayout() { setMinimumHeight(std::max(RecentChangesHeight(m_changes.Passes()), 60)); }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        const QRect exposed = event->rect();
        if (m_ground.isNull()) {
            painter.fillRect(exposed, kParchment);
        } else {
            painter.drawTiledPixmap(exposed, m_ground, exposed.topLeft());
        }
        const auto& passes = m_changes.Passes();
        if (passes.empty()) {
            painter.setPen(kInk);
            painter.drawText(rect().adjusted(kLeft, kRecentMarginTop, -kLeft, 0), Qt::AlignHCenter | Qt::TextWordWrap,
                             QStringLiteral("Seit dem Start hat noch kein Abgleich etwas ge\u00e4ndert."));
            return;
        }
        for (const RecentRow& row : LayOutRecentChanges(passes)) {
            const int height = RecentRowHeight(row);
            if (row.top > exposed.bottom()) break;
            if (row.top + height < exposed.top()) continue;
            const PassChanges& pass = passes[row.pass];
            if (row.kind == RecentRow::Kind::Heading) {
                painter.setFont(font());
                painter.setPen(kInk);
                painter.drawText(QRect(kLeft, row.top, width() - 2 * kLeft, height - 4),
                                 Qt::AlignLeft | Qt::AlignBottom, QString::fromStdString(RecentHeading(pass)));
                painter.drawLine(kLeft, row.top + height - 2, width() - kLeft, row.top + height - 2);
                continue;
            }
            // The renderer puts row 0 at its own top; move it to this row.
            painter.setFont(font());
            painter.save();
            painter.translate(0, row.top - notify::RowTop(0));
            notify::DrawMessageLine(painter, m_symbolsFolder, QString::fromStdString(pass.lines[row.line]), 0);
            painter.restore();
        }
    }

private:
    const RecentChanges& m_changes;
    QString m_symbolsFolder;
    QPixmap m_ground;
};

RecentChangesWindow::RecentChangesWindow(const RecentChanges& changes, const QString& programFolder, QWidget* parent)
    : QScrollArea(parent) {
    setObjectName(QStringLiteral("RecentChangesWindow"));
    setWindowTitle(QStringLiteral("Warmap \u2014 Letzte Meldungen"));
    m_view = new RecentChangesView(changes, programFolder, this);
    setWidget(m_view);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::NoFrame);
    setFixedWidth(notify::SplashFrm::kWidthPixels + verticalScrollBar()->sizeHint().width());
    resize(width(), 460);
    Refresh();
}

void RecentChangesWindow::Refresh() {
    m_view->Relayout();
    m_view->update();
}

QWidget* RecentChangesWindow::View() const {
    return m_view;
}

}  // namespace tray
