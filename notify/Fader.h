#pragma once

class QWidget;

namespace notify {

enum class AlphaResult { Applied, OutOfRange, NoWindow };

// Sets a window's constant alpha, 0 (transparent) to 255 (opaque); an alpha outside 0..255 changes
// nothing. A fully transparent window lets mouse clicks through to whatever lies beneath.
AlphaResult setWindowAlpha(QWidget* window, int alpha);

// From transparent to opaque in 255 steps of 1 ms. Pending events run twice before the steps and once
// after them, never during them.
void fadeIn(QWidget* window);

// From opaque (set at once, whatever the alpha was) to transparent in 255 steps of 1 ms. Pending events
// run twice before the steps.
void fadeOut(QWidget* window);

}  // namespace notify
