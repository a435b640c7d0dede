#pragma once

#include <cstdint>

class QWidget;

namespace notify {

// Sets a window's constant alpha, 0 (transparent) to 255 (opaque). Returns 0 when applied, 1 for an
// alpha outside 0..255 (nothing changes), 2 when the window could not take it. A fully transparent
// window lets mouse clicks through to whatever lies beneath.
int SetWindowAlpha(QWidget* window, std::int16_t& alpha);

// From transparent to opaque in 255 steps of 1 ms. Pending events run twice before the steps and once
// after them, never during them.
void FadeIn(QWidget* window);

// From opaque (set at once, whatever the alpha was) to transparent in 255 steps of 1 ms. Pending events
// run twice before the steps.
void FadeOut(QWidget* window);

}  // namespace notify
