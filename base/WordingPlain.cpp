// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt-free builds speak the source language.
#include "base/Wording.h"

namespace base {

std::string translate(const char* /*context*/, const char* source) {
    return source;
}

}  // namespace base
