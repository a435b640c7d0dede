// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractScrollArea>
#include <functional>
#include <string>
#include <vector>

#include "platform/AccessibleRows.h"

namespace history {

// A list of lines in the popup's markup, on the popup's parchment colour, drawn as the popup draws
// them. Only the rows in view are made and drawn, so a year of changes scrolls as lightly as a day.
class ChangeListView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // symbolsFolder holds the arrow icon.
    explicit ChangeListView(QString symbolsFolder, QWidget* parent = nullptr);

    // rows lines; line(i) makes the i-th when it comes into view.
    void setRows(std::size_t rows, std::function<std::string(std::size_t)> line);
    std::size_t rows() const { return m_rows; }
    // The line of a row as a person reads it, for assistive technology and tests.
    QString rowText(std::size_t row) const;
    // The rows in view, as assistive technology reads them, in the viewport's coordinates.
    std::vector<platform::AccessibleRow> visibleRows() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateScrollBar();

    QString m_symbolsFolder;
    std::size_t m_rows = 0;
    std::function<std::string(std::size_t)> m_line;
};

}  // namespace history
