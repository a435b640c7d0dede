#pragma once

#include <QByteArray>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace testing_support {

// Sets environment variables for one test and puts them back afterwards.
class EnvScope {
public:
    void set(const char* name, const QByteArray& value) {
        remember(name);
        qputenv(name, value);
    }
    void unset(const char* name) {
        remember(name);
        qunsetenv(name);
    }
    ~EnvScope() {
        for (const auto& [name, value] : m_saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }

private:
    // Only the value before the first change counts.
    void remember(const char* name) {
        for (const auto& saved : m_saved) {
            if (std::string_view(saved.first) == name) return;
        }
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

}  // namespace testing_support
