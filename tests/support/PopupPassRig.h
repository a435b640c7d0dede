#pragma once

#include <QStringList>

#include "core/PopupPresenter.h"
#include "core/RefreshPass.h"
#include "notify/AlertSound.h"
#include "notify/ChangePopup.h"
#include "tests/support/FeedSimProcess.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDir.h"

namespace testing_support {

// What the program wires together for a pass: a private temporary folder, the simulator, the popup
// with its sound, and the pass, with message boxes recorded.
struct PopupPassRig {
    explicit PopupPassRig(const QStringList& simulatorArguments) : sim(simulatorArguments) {}

    TempFolderScope temp;
    FeedSimProcess sim;
    RecordingDialogs dialogs;
    notify::ChangePopup popup{WARMAP_DATA_DIR};
    notify::AlertSound sound;
    core::PopupPresenter presenter{popup, sound};
    core::RefreshPass pass{{sim.base(), WARMAP_DATA_DIR, {}}, dialogs, presenter};
};

}  // namespace testing_support
