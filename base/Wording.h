// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Texts of the plain C++ layers that reach the player (the cause in a "Fehler: " box). They are
// written in German, as everywhere, and looked up in the program's translations when Qt is linked;
// the Qt-free builds (the fuzz targets) keep the German.
namespace base {

// The text in the chosen language; named like Qt's so the translation tools find every call.
std::string translate(const char* context, const char* source);

// text with "%1" … "%9" replaced by values, in one pass (a value holding "%2" stays as it is).
std::string filled(std::string_view text, std::initializer_list<std::string_view> values);

}  // namespace base
