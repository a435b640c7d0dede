#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <optional>

#include "feed/KeepNames.h"
#include "keepmap/KeepMap.h"
#include "warmap/Skin.h"

class QAbstractButton;
class QComboBox;
class QLabel;

namespace platform {
class Dialogs;
}

namespace warmap {

class MapView;

// The Warmap window: frameless and skinned, the frontier map with the keeps of the chosen server, the
// feed's time stamp and the hover label. Dragging the frame moves it; its two buttons minimise and close.
class MapWindow : public QWidget {
    Q_OBJECT
public:
    // With pictures, decoded skin and icons are taken from there.
    MapWindow(QString programFolder, platform::Dialogs& dialogs, const platform::PictureCache* pictures = nullptr,
              QWidget* parent = nullptr);

    // The load step: skin, map, frame, server list, and the first server's map. Fails with what the user
    // is told when the skin cannot be used (a file missing or unreadable, sizes beyond 16 bits); the
    // window is then unusable.
    base::Result<void, QString> load();
    // The same with the skin already read (start-up reads it on another thread meanwhile). Without
    // tellNoSavedCopy a missing copy of the first server is not told in a box (Warmap has no feed
    // address yet, and its settings window says so).
    base::Result<void, QString> load(SkinResult skin, bool tellNoSavedCopy = true);

    // Draws the map of the server chosen in the list from its saved copy.
    void showSelectedServer(bool tellNoSavedCopy = true);
    // Rings the structures this guild holds (empty: none) and draws the map again.
    void setMarkedGuild(const QString& guild);
    // Updates the hover label for a pointer at map position (x, y).
    void updateHoverText(QPointF position);

    MapView* mapView() const { return m_map; }
    QComboBox* serverCombo() const { return m_serverCombo; }
    QLabel* dateLabel() const { return m_dateLabel; }
    QLabel* hoverLabel() const { return m_hoverLabel; }
    QAbstractButton* closeButton() const { return m_closeButton; }
    QAbstractButton* minimizeButton() const { return m_minimizeButton; }

signals:
    // The window has been closed (it is deleted next).
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_programFolder;
    platform::Dialogs& m_dialogs;
    const platform::PictureCache* m_pictures;
    feed::KeepNames m_names;
    keepmap::KeepMap m_keepMap;
    SkinFrame m_frame;
    MapPicture m_mapPicture;   // decoded anew for every drawing; the surface holds the only pixels
    QImage m_firstBackground;  // the skin's, for the load step's drawing
    MapView* m_map;
    QComboBox* m_serverCombo;
    QLabel* m_dateLabel;
    QLabel* m_hoverLabel;
    QAbstractButton* m_closeButton;
    QAbstractButton* m_minimizeButton;
    std::optional<QPoint> m_dragOffset;
};

}  // namespace warmap
