#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace testing_support {

// Records message boxes instead of showing them.
class RecordingDialogs final : public platform::Dialogs {
public:
    void show(const platform::Message& message) override { shown.push_back(message); }

    int count(const std::string& text) const {
        return static_cast<int>(
            std::count_if(shown.begin(), shown.end(), [&](const auto& m) { return m.text == text; }));
    }
    int countStartingWith(const std::string& prefix) const {
        return static_cast<int>(
            std::count_if(shown.begin(), shown.end(), [&](const auto& m) { return m.text.rfind(prefix, 0) == 0; }));
    }

    std::vector<platform::Message> shown;
};

}  // namespace testing_support
