// SPDX-License-Identifier: GPL-3.0-or-later
// With Qt, the program's installed translations decide.
#include <QCoreApplication>

#include "base/Wording.h"

namespace base {

std::string translate(const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
}

}  // namespace base
