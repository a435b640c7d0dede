#pragma once

#include <string>

namespace platform {

// A modal message box as the program shows it.
struct Message {
    enum class Icon { None, Critical };
    std::string text;
    std::string caption;
    Icon icon = Icon::None;
};

inline constexpr const char* kApplicationTitle = "Warmap";

// The box of a failure: "Fehler: <cause>" under the caption "Fehler", in the chosen language.
Message failureMessage(const std::string& cause);

// Every message box goes through here, so tests can record instead of blocking.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows the box and returns when the user has closed it.
    virtual void show(const Message& message) = 0;
};

// The real, modal boxes with a single OK button.
class ModalDialogs final : public Dialogs {
public:
    void show(const Message& message) override;
};

}  // namespace platform
