// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/SingleInstance.h"

namespace platform {
class Translations;
}

namespace core {

// What a start does before it becomes the running Warmap, each ending with the exit status it returns,
// or nothing when this start is to run. None of them needs a display.

// A Warmap that runs already is asked to do what this start was asked (show a window, or end); with
// none running, this start claims the lock and socket in folder and runs.
std::optional<int> handOverToRunningInstance(const platform::Translations& words, platform::SingleInstance& instance,
                                             const std::string& folder, platform::SingleInstance::Request request);

// --quit: ends the running Warmap as its "Beenden" does and waits until it has let go of its lock. With
// none running it says so, starts none and ends with 0.
int quitRunningInstance(const platform::Translations& words, const std::string& folder);

// A start with no display to show windows on (problem says why): a running Warmap can still be asked,
// else one line on stderr and status 1, with nothing created in folder.
int startWithoutDisplay(const platform::Translations& words, const std::string& folder,
                        platform::SingleInstance::Request request, const std::string& problem);

}  // namespace core
