// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <vector>

#include "history/StructureStory.h"

namespace history {

// A structure's holders across a stretch of time: one bar, each hold a piece in its realm's colour
// with its guild written in where it fits, the stretch's first and last time beneath.
class StoryBand : public QWidget {
    Q_OBJECT
public:
    explicit StoryBand(QWidget* parent = nullptr);

    void setStory(std::vector<Hold> holds, Seconds from, Seconds to);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The piece of the bar a hold takes, clipped to the stretch; empty when it falls outside.
    QRectF pieceOf(const Hold& hold) const;
    QRectF barRect() const;

    std::vector<Hold> m_holds;
    Seconds m_from = 0;
    Seconds m_to = 0;
};

}  // namespace history
