#pragma once

class QAbstractScrollArea;
class QKeyEvent;

namespace platform {

// Home and End move a scrolled list to its first and last lines, as every list does; Page Up, Page
// Down and the arrows are the scroll area's own. True when the key was taken.
bool scrollToEnd(QAbstractScrollArea& list, const QKeyEvent& event);

}  // namespace platform
