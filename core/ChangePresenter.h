#pragma once

#include "feed/CompareKeeps.h"

namespace core {

// Shows the change lines of a pass to the user: the popup with its sound, fade-in and end timer.
class ChangePresenter {
public:
    virtual ~ChangePresenter() = default;
    // Called once per pass that found changes, with at least one line.
    virtual void presentChanges(const feed::MessageLines& lines) = 0;
};

}  // namespace core
