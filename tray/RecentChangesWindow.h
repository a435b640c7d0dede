#pragma once

#include <QScrollArea>

namespace tray {

class RecentChanges;
class RecentChangesView;

// "Letzte Meldungen": the lines of the last passes with changes, newest first, each pass under its
// time, drawn as the popup draws them. refresh() redraws it when a pass has brought more.
class RecentChangesWindow : public QScrollArea {
    Q_OBJECT
public:
    // programFolder holds form/splash/ (the parchment) and symbols/.
    RecentChangesWindow(const RecentChanges& changes, const QString& programFolder, QWidget* parent = nullptr);

    void refresh();
    QWidget* view() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    RecentChangesView* m_view;
};

}  // namespace tray
