// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace history {

// One prepared statement, finalised when it goes. Binding is by position from 1, as in SQLite.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        m_ok = sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) == SQLITE_OK;
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value) {
        sqlite3_bind_int64(m_statement, index, value);
        return *this;
    }
    Statement& bind(int index, std::string_view text) {
        sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // True while there is a row; done() tells a finished statement from a failed one.
    bool step() {
        m_result = m_ok ? sqlite3_step(m_statement) : SQLITE_ERROR;
        return m_result == SQLITE_ROW;
    }
    bool isDone() const { return m_result == SQLITE_DONE; }
    // Binds the values to ?1, ?2, ... in turn and runs the statement.
    template <typename... Values>
    bool run(const Values&... values) {
        int index = 0;
        (bindValue(++index, values), ...);
        return run();
    }
    // Runs a statement that returns no rows and readies it for the next run.
    bool run() {
        step();
        const bool done = isDone();
        if (!m_ok) return false;  // SQLite's clean-up calls take no statement that never was
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
        return done;
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    bool isNull(int column) const { return sqlite3_column_type(m_statement, column) == SQLITE_NULL; }
    std::string text(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column)))
                    : std::string();
    }

private:
    template <typename Value>
    void bindValue(int index, const Value& value) {
        if constexpr (std::is_integral_v<Value>)
            bind(index, static_cast<std::int64_t>(value));
        else
            bind(index, std::string_view(value));
    }

    sqlite3_stmt* m_statement = nullptr;
    bool m_ok = false;
    int m_result = SQLITE_OK;
};

// Runs SQL without results; false when any of it fails.
inline bool execute(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace history
