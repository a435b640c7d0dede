#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "base/Result.h"

namespace testing_support {

inline std::string reasonText(const std::string& reason) {
    return reason;
}
inline std::string reasonText(const QString& reason) {
    return reason.toStdString();
}

// Passes for a successful result; a failed one shows its reason.
template <class T, class E>
::testing::AssertionResult succeeded(const base::Result<T, E>& result) {
    if (result) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "failed: " << reasonText(result.error());
}

}  // namespace testing_support
