// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "base/SafeFile.h"
#include "feed/FeedDocument.h"
#include "feed/Frontier.h"
#include "history/ChangeListView.h"
#include "history/ChangeText.h"
#include "history/HistoryChart.h"
#include "history/StoryPanel.h"
#include "history/StructureStory.h"
#include "history/Timeline.h"
#include "keepmap/Hover.h"
#include "platform/Logging.h"
#include "platform/NameText.h"
#include "platform/Theme.h"
#include "warmap/MapView.h"
#include "warmap/Skin.h"

namespace history {
namespace {

constexpr Seconds kHour = 60 * 60;
// More points than the chart has pixels across would only cost time.
constexpr std::size_t kMaxChartPoints = 600;

struct RangeChoice {
    HistoryWindow::Range range;
    const char* caption;
    Seconds span;  // 0: everything
};
constexpr RangeChoice kRanges[] = {
    {HistoryWindow::Range::Day, QT_TRANSLATE_NOOP("history::HistoryWindow", "24 Stunden"), 24 * kHour},
    {HistoryWindow::Range::Week, QT_TRANSLATE_NOOP("history::HistoryWindow", "7 Tage"), 7 * 24 * kHour},
    {HistoryWindow::Range::Month, QT_TRANSLATE_NOOP("history::HistoryWindow", "30 Tage"), 30 * 24 * kHour},
    {HistoryWindow::Range::All, QT_TRANSLATE_NOOP("history::HistoryWindow", "Alles"), 0}};

QString serverName(int server) {
    return platform::nameText(feed::kServerNames[static_cast<std::size_t>(server)]);
}

}  // namespace

HistoryWindow::HistoryWindow(const HistoryReader* store, const QString& unavailable, const QString& programFolder,
                             QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_store(store),
      m_programFolder(programFolder),
      m_names(programFolder.toStdString()),
      m_keepMap(programFolder, keepmap::kKeepPos) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(tr("Warmap — Verlauf"));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Server"), this));
    m_serverCombo = new QComboBox(this);
    m_serverCombo->setObjectName(QStringLiteral("HistoryServerCombo"));
    m_serverCombo->setAccessibleName(tr("Server"));
    for (int server = 0; server < static_cast<int>(feed::kServerNames.size()); ++server)
        m_serverCombo->addItem(serverName(server));
    top->addWidget(m_serverCombo);
    top->addSpacing(16);
    m_ranges = new QButtonGroup(this);
    for (const RangeChoice& choice : kRanges) {
        auto* button = new QPushButton(tr(choice.caption), this);
        button->setCheckable(true);
        button->setObjectName(QStringLiteral("Range") + QString::number(static_cast<int>(choice.range)));
        m_ranges->addButton(button, static_cast<int>(choice.range));
        top->addWidget(button);
    }
    m_ranges->button(static_cast<int>(m_range))->setChecked(true);
    top->addStretch();
    m_exportButton = new QPushButton(tr("Exportieren …"), this);
    m_exportButton->setObjectName(QStringLiteral("ExportButton"));
    top->addWidget(m_exportButton);

    // The page with the history, and the page that says there is none. The chart and the change list
    // share the left side (the chart gets more of what a larger window adds); the map fits beside them.
    auto* historyPage = new QWidget(this);
    m_chart = new HistoryChart(historyPage);
    m_chart->setMinimumSize(380, 160);
    m_pointLabel = new QLabel(historyPage);
    m_pointLabel->setObjectName(QStringLiteral("PointLabel"));
    m_pointLabel->setToolTip(tr("Zeigen Sie auf die Kurven, um die Zahlen eines Zeitpunkts zu sehen."));
    // Two lines whatever it says: a long read-out must never widen or heighten the window.
    m_pointLabel->setWordWrap(true);
    m_pointLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_pointLabel->setFixedHeight(2 * m_pointLabel->fontMetrics().lineSpacing() + 4);
    m_pointLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_list = new ChangeListView(programFolder + QStringLiteral("/symbols"), historyPage);
    m_list->setMinimumHeight(90);
    auto* lower = new QWidget(historyPage);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(m_pointLabel);
    m_story = new StoryPanel(historyPage);
    m_contested = new QTreeWidget(historyPage);
    m_contested->setObjectName(QStringLiteral("ContestedList"));
    m_contested->setAccessibleName(tr("Bauwerke mit den meisten Änderungen"));
    m_contested->setRootIsDecorated(false);
    m_contested->setUniformRowHeights(true);
    m_contested->setHeaderLabels({tr("Bauwerk"), tr("Änderungen"), tr("Jetzt"), tr("Längste Haltung")});
    m_contested->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_contested->setToolTip(tr("Klicken Sie auf ein Bauwerk, um seine Geschichte zu sehen."));
    m_tabs = new QTabWidget(historyPage);
    m_tabs->setObjectName(QStringLiteral("HistoryTabs"));
    m_tabs->setDocumentMode(true);
    m_tabs->addTab(m_list, tr("Änderungen"));
    m_tabs->addTab(m_story, tr("Geschichte eines Bauwerks"));
    m_tabs->addTab(m_contested, tr("Am meisten umkämpft"));
    lowerLayout->addWidget(m_tabs, 1);
    auto* split = new QSplitter(Qt::Vertical, historyPage);
    split->setObjectName(QStringLiteral("ChartAndList"));
    split->setChildrenCollapsible(false);
    split->addWidget(m_chart);
    split->addWidget(lower);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({3000, 2000});

    m_mapColumn = new QWidget(historyPage);
    auto* right = new QVBoxLayout(m_mapColumn);
    right->setContentsMargins(0, 0, 0, 0);
    m_map = new warmap::MapView(m_mapColumn);
    m_map->setObjectName(QStringLiteral("HistoryMap"));
    m_map->setAccessibleName(tr("Karte zum gewählten Zeitpunkt"));
    if (const warmap::SkinResult skin = warmap::loadSkin(programFolder, devicePixelRatioF())) {
        m_map->setBackground(skin->mapBackground);
        m_map->setMinimumSize(m_map->naturalSize() / 2);
    }
    // Its panel holds what the Warmap window's holds: the server and the feed's time stamp.
    m_map->setOverlay([this](QPainter& painter) { drawPanel(painter); });
    right->addWidget(m_map, 0, Qt::AlignHCenter);
    m_slider = new QSlider(Qt::Horizontal, m_mapColumn);
    m_slider->setObjectName(QStringLiteral("MomentSlider"));
    m_slider->setAccessibleName(tr("Zeitpunkt der Karte"));
    right->addWidget(m_slider);
    m_momentLabel = new QLabel(m_mapColumn);
    m_momentLabel->setObjectName(QStringLiteral("MomentLabel"));
    m_momentLabel->setWordWrap(true);
    m_momentLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    right->addWidget(m_momentLabel);
    m_hoverLabel = new QLabel(m_mapColumn);
    m_hoverLabel->setObjectName(QStringLiteral("HistoryHoverLabel"));
    m_hoverLabel->setTextFormat(Qt::PlainText);
    m_hoverLabel->setWordWrap(true);
    m_hoverLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_hoverLabel->setToolTip(tr("Zeigen Sie auf ein Bauwerk der Karte; ein Klick zeigt seine Geschichte."));
    right->addWidget(m_hoverLabel);
    right->addStretch();
    auto* columns = new QHBoxLayout(historyPage);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(split, 1);
    columns->addWidget(m_mapColumn);

    m_emptyLabel = new QLabel(this);
    m_emptyLabel->setObjectName(QStringLiteral("EmptyLabel"));
    m_emptyLabel->setAlignment(Qt::AlignCenter);
    m_emptyLabel->setWordWrap(true);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(historyPage);
    m_pages->addWidget(m_emptyLabel);
    if (!m_store) m_emptyLabel->setText(tr("Kein Verlauf in diesem Lauf: ") + unavailable);

    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("StatusLabel"));
    m_statusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_statusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pages, 1);
    layout->addWidget(m_statusLabel);

    connect(m_serverCombo, &QComboBox::currentIndexChanged, this, &HistoryWindow::chooseServer);
    connect(m_ranges, &QButtonGroup::idClicked, this, [this](int id) { chooseRange(static_cast<Range>(id)); });
    connect(m_slider, &QSlider::valueChanged, this, &HistoryWindow::chooseMoment);
    connect(m_chart, &HistoryChart::pointed, this, &HistoryWindow::showReadOut);
    connect(m_exportButton, &QPushButton::clicked, this, &HistoryWindow::exportToFile);
    connect(m_tabs, &QTabWidget::currentChanged, this, &HistoryWindow::updateShownTab);
    connect(m_story, &StoryPanel::structureChosen, this, &HistoryWindow::showStoryOf);
    const auto openStory = [this](QTreeWidgetItem* item) {
        const QString id = item->data(0, Qt::UserRole).toString();
        if (!id.isEmpty()) showStoryOf(id.toStdString());
    };
    connect(m_contested, &QTreeWidget::itemClicked, this, openStory);
    connect(m_contested, &QTreeWidget::itemActivated, this, openStory);
    connect(m_map, &warmap::MapView::pointerMoved, this, &HistoryWindow::updateHover);
    connect(m_map, &warmap::MapView::clicked, this, &HistoryWindow::showStoryAt);
    refresh();
    // As large as the screen allows (its title bar aside), up to a size that leaves room beside it.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(QSize(1280, 860)
                   .boundedTo(screen->availableGeometry().size() - QSize(16, 40))
                   .expandedTo(minimumSizeHint()));
}

void HistoryWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitMap();
}

void HistoryWindow::fitMap() {
    const QSize natural = m_map->naturalSize();
    if (natural.isEmpty()) return;
    // What the page leaves for the map once the slider and its label have their room; never more
    // than the map's own size, never so small that its keeps cannot be told apart.
    const int beside = m_slider->sizeHint().height() + m_momentLabel->fontMetrics().lineSpacing() * 4 + 16;
    const int room = std::clamp(m_pages->height() - beside, natural.height() / 2, natural.height());
    const QSize fitted = natural.scaled(QSize(natural.width(), room), Qt::KeepAspectRatio);
    // A maximum, not a fixed size: the window may still be made smaller, and is fitted again then.
    m_map->setMaximumSize(fitted);
    m_mapColumn->setMaximumWidth(fitted.width());
    m_mapColumn->setMinimumWidth(natural.width() / 2);
}

void HistoryWindow::showReadOut(const QString& description) {
    m_pointLabel->setText(description.isEmpty() ? QString()
                                                : serverName(m_server) + QStringLiteral(", ") + description);
}

void HistoryWindow::drawPanel(QPainter& painter) const {
    if (m_moments.empty()) return;
    // Where the Warmap window has its server list and date label, in its colours and fonts.
    painter.setFont(theme::panelFont(8.25, true, true));
    painter.setPen(QColor(theme::kServerText));
    painter.drawText(QRect(12, 10, 88, 21), Qt::AlignLeft | Qt::AlignVCenter, serverName(m_server));
    painter.setFont(theme::panelFont(6, false));
    painter.setPen(QColor(theme::kInk));
    painter.drawText(QRect(6, 40, 97, 33), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_panelDate);
}

void HistoryWindow::chooseServer(int server) {
    if (server < 0 || server >= static_cast<int>(feed::kServerNames.size())) return;
    m_server = server;
    if (m_serverCombo->currentIndex() != server) m_serverCombo->setCurrentIndex(server);
    refresh();
}

void HistoryWindow::chooseRange(Range range) {
    m_range = range;
    m_ranges->button(static_cast<int>(range))->setChecked(true);
    refresh();
}

void HistoryWindow::refresh() {
    // A moment the player chose stays chosen when a pass adds a new one; the newest is followed.
    std::optional<std::int64_t> chosenPass;
    if (!m_moments.empty() && m_slider->value() < m_slider->maximum())
        chosenPass = m_moments[static_cast<std::size_t>(m_slider->value())].pass;
    m_moments.clear();
    m_changes.clear();
    m_hovered.reset();
    m_hoverLabel->clear();
    m_storyStale = m_contestedStale = true;
    if (!m_store) {
        m_pages->setCurrentWidget(m_emptyLabel);
        m_exportButton->setEnabled(false);
        return;
    }
    const Seconds now = QDateTime::currentSecsSinceEpoch();
    Seconds span = 0;
    for (const RangeChoice& choice : kRanges) {
        if (choice.range == m_range) span = choice.span;
    }
    const Seconds from = span ? now - span : 0;
    m_from = from;
    m_to = now;
    m_moments = m_store->moments(m_server, from, now);
    // A quiet stretch still shows the state it started with: that of the last moment before it.
    const std::optional<Moment> before = from > 0 ? m_store->momentAt(m_server, from - 1) : std::nullopt;
    if (before) m_moments.insert(m_moments.begin(), *before);
    const bool any = !m_moments.empty();
    m_pages->setCurrentIndex(any ? 0 : 1);
    m_exportButton->setEnabled(any);
    if (!any) {
        m_emptyLabel->setText(tr("Noch kein Verlauf für diesen Server"));
        showReadOut(QString());
        return;
    }
    const Moment& start = m_moments.front();
    // The chart counts every position; the list and the export tell only what changed hands, not a
    // structure that joined or left the feed.
    m_changes.clear();
    std::vector<Change> later;
    for (const Change& change : m_store->changes(m_server, from, now)) {
        if (change.pass > start.pass) later.push_back(change);
        if (!change.hasAppeared() && !change.hasDeparted()) m_changes.push_back(change);
    }
    const std::optional<ServerState> startState = m_store->stateAt(m_server, start.pass);
    m_chart->setTimeline(startState ? buildTimeline(*startState, start.time, later, *m_store, kMaxChartPoints)
                                    : std::vector<TimelinePoint>{},
                         from ? from : start.time, now);
    // Newest first, as in "Letzte Meldungen".
    m_list->setRows(m_changes.size(), [this](std::size_t row) {
        return changeLine(m_changes[m_changes.size() - 1 - row], *m_store, m_names);
    });
    int moment = static_cast<int>(m_moments.size()) - 1;
    for (std::size_t i = 0; chosenPass && i < m_moments.size(); ++i) {
        if (m_moments[i].pass == *chosenPass) moment = static_cast<int>(i);
    }
    const QSignalBlocker quiet(m_slider);
    m_slider->setRange(0, static_cast<int>(m_moments.size()) - 1);
    m_slider->setValue(moment);
    chooseMoment(moment);
    m_story->setStructures(structureList());
    updateShownTab();
}

void HistoryWindow::setMarkedGuild(const QString& guild) {
    if (guild.toStdString() == m_keepMap.markedGuild()) return;
    m_keepMap.setMarkedGuild(guild.toStdString());
    chooseMoment(m_slider->value());
}

std::vector<std::pair<QString, std::string>> HistoryWindow::structureList() const {
    std::vector<std::pair<QString, std::string>> list;
    const std::optional<ServerState> state =
        m_moments.empty() ? std::nullopt : m_store->stateAt(m_server, m_moments.back().pass);
    if (!state) return list;
    for (const Holding& holding : *state)
        list.emplace_back(QString::fromStdString(structureName(holding.id, m_names)), holding.id);
    std::sort(list.begin(), list.end(),
              [](const auto& a, const auto& b) { return QString::localeAwareCompare(a.first, b.first) < 0; });
    return list;
}

void HistoryWindow::showStoryOf(const std::string& id) {
    if (!m_story->choose(id)) return;
    m_storyStale = true;
    if (m_tabs->currentWidget() != m_story)
        m_tabs->setCurrentWidget(m_story);  // brings it up to date
    else
        updateShownTab();
}

void HistoryWindow::updateShownTab() {
    if (!m_store || m_moments.empty()) return;
    if (m_tabs->currentWidget() == m_story && m_storyStale) updateStory();
    if (m_tabs->currentWidget() == m_contested && m_contestedStale) updateContested();
}

void HistoryWindow::updateStory() {
    m_storyStale = false;
    const std::string id = m_story->chosen();
    if (id.empty()) return;
    const StructureStory story = storyOf(*m_store, m_server, id, m_from, m_to);
    // All of it begins with the first recording, which the story's first hold begins with.
    const Seconds bandFrom =
        m_from ? m_from : (story.holds.empty() ? m_moments.front().time : story.holds.front().start);
    m_story->showStory(QString::fromStdString(structureName(id, m_names)), story, bandFrom, m_to);
}

void HistoryWindow::updateContested() {
    m_contestedStale = false;
    m_contested->clear();
    constexpr std::size_t kMost = 10;
    const std::vector<ContestedStructure> contested = mostContested(*m_store, m_server, m_from, m_to, kMost);
    for (const ContestedStructure& structure : contested) {
        const std::vector<Hold>& holds = structure.story.holds;
        const QString now =
            !holds.empty() && holds.back().running ? holderText(holds.back().holder) : tr("nicht im Feed");
        const Hold* longest = structure.story.longest();
        auto* item = new QTreeWidgetItem(
            {QString::fromStdString(structureName(structure.id, m_names)), QString::number(structure.story.changes),
             now,
             longest ? holdLengthText(*longest) + QStringLiteral(" · ") + holderText(longest->holder) : QString()});
        item->setData(0, Qt::UserRole, QString::fromStdString(structure.id));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        m_contested->addTopLevelItem(item);
    }
    if (contested.empty()) {
        auto* item = new QTreeWidgetItem({tr("Kein Bauwerk hat im gewählten Zeitraum den Halter gewechselt.")});
        item->setFlags(Qt::NoItemFlags);
        item->setFirstColumnSpanned(true);
        m_contested->addTopLevelItem(item);
    }
}

void HistoryWindow::showStoryAt(QPointF position) {
    if (const std::optional<int> id = keepmap::structureAt(position.x(), position.y(), m_keepMap.hitMap()))
        showStoryOf(std::to_string(*id));
}

void HistoryWindow::updateHover(QPointF position) {
    const std::optional<int> id = keepmap::structureAt(position.x(), position.y(), m_keepMap.hitMap());
    if (!id || !m_store || m_moments.empty()) {
        m_hovered.reset();
        m_hoverLabel->clear();
        return;
    }
    const Moment& at = m_moments[static_cast<std::size_t>(m_slider->value())];
    if (m_hovered == std::pair{*id, at.pass}) return;  // a story read once per structure and moment
    m_hovered = {*id, at.pass};
    const std::string idText = std::to_string(*id);
    const QString name = QString::fromStdString(structureName(idText, m_names));
    const std::optional<Hold> hold = holdAt(*m_store, m_server, idText, at);
    if (!hold) {
        m_hoverLabel->setText(tr("%1: zu diesem Zeitpunkt nicht im Feed").arg(name));
        return;
    }
    QString holder = holderText(hold->holder);
    if (!m_keepMap.markedGuild().empty() && hold->holder.guild == m_keepMap.markedGuild())
        holder += tr(" — meine Gilde");
    m_hoverLabel->setText(hold->startKnown ? tr("%1: %2, seit %3").arg(name, holder, localTimeText(hold->start))
                                           : tr("%1: %2, seit Beginn des Verlaufs").arg(name, holder));
}

void HistoryWindow::chooseMoment(int moment) {
    if (!m_store || moment < 0 || moment >= static_cast<int>(m_moments.size())) return;
    if (m_slider->value() != moment) {
        m_slider->setValue(moment);  // comes back here
        return;
    }
    const Moment& at = m_moments[static_cast<std::size_t>(moment)];
    m_hovered.reset();
    m_hoverLabel->clear();
    // The read-out follows the moment until the pointer names another.
    showReadOut(m_chart->describeTime(at.time));
    m_panelDate = QString::fromStdString(at.date);
    const std::optional<ServerState> state = m_store->stateAt(m_server, at.pass);
    if (!state) {
        m_momentLabel->setText(tr("Dieser Zeitpunkt lässt sich aus dem Verlauf nicht wiederherstellen."));
        return;
    }
    const keepmap::MapOutcome outcome = m_keepMap.draw(
        [&state](std::size_t position, const char* name) {
            // As a feed document says it of a position it lacks.
            if (position >= state->size()) throw feed::missingEntry(position);
            const Holding& holding = (*state)[position];
            const std::string_view attribute(name);
            return attribute == "id" ? holding.id : attribute == "realm" ? holding.realm : holding.guild;
        },
        at.date, m_map->surface(), m_map->background());
    m_map->update();
    QString text = tr("%1 · Stand %2").arg(localTimeText(at.time), QString::fromStdString(at.date));
    if (outcome.status == keepmap::MapOutcome::Status::Failed)
        text += tr(" · Karte unvollständig: ") + QString::fromStdString(outcome.failure);
    m_momentLabel->setText(text);
}

base::Result<void, QString> HistoryWindow::exportTo(const QString& path) {
    m_statusLabel->clear();
    if (!m_store) return base::Failure{QString()};
    const std::string csv = changesCsv(m_changes, m_server, *m_store, m_names);
    if (const base::Result<void, int> written = base::writePrivateFile(path.toStdString(), csv); !written) {
        const QString cause = QString::fromLocal8Bit(std::strerror(written.error()));
        qCWarning(lcHistory, "cannot export the history to %s: %s", qPrintable(path), qPrintable(cause));
        return base::Failure{cause};
    }
    const std::size_t rows = m_changes.size();
    m_statusLabel->setText(
        tr("%1 nach %2 geschrieben.")
            .arg(rows == 1 ? tr("1 Änderung") : tr("%1 Änderungen").arg(rows), QDir::toNativeSeparators(path)));
    return {};
}

void HistoryWindow::exportToFile() {
    const QString suggested = tr("warmap-verlauf-%1.csv").arg(serverName(m_server).toLower());
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Verlauf exportieren"), suggested, tr("CSV-Dateien (*.csv)"));
    if (path.isEmpty()) return;
    if (const base::Result<void, QString> exported = exportTo(path); !exported)
        QMessageBox::warning(this, tr("Warmap — Verlauf"),
                             tr("Der Verlauf ließ sich nicht nach %1 schreiben: %2").arg(path, exported.error()));
}

}  // namespace history
