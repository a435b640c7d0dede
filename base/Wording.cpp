// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Wording.h"

namespace base {

std::string filled(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && index < values.size()) {
            out += *(values.begin() + index);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace base
