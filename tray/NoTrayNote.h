// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace tray {

// What a player without a system tray is told when the Warmap window closes: Warmap keeps watching,
// and how to get back to it or end it.
QString noTrayNoteText();

// Shows that note in a box of its own that waits for nobody (it closes itself when answered).
QWidget* showNoTrayNote();

}  // namespace tray
