// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/SafeFile.h"
#include "feed/Frontier.h"
#include "history/Sql.h"

namespace history {
namespace {

// Longer than any pass of ours holds the file; short enough that a file another program keeps locked
// never holds up the pass noticeably.
constexpr int kOpenBusyMilliseconds = 100;
constexpr int kRecordBusyMilliseconds = 20;

// Only a regular file of ours is opened, and never through a link: the same rules as the saved copies.
std::string refusalOf(const std::string& path, bool& exists) {
    const auto checked = base::checkFile(path, {.followLinks = false, .ownedByUs = true});
    exists = checked || checked.error().kind != base::Refusal::Kind::Missing;
    if (checked) return {};
    if (checked.error().kind == base::Refusal::Kind::Missing) return {};
    return base::describe(checked.error());
}

// SQLite falls back to reading a file it may not write, and says only "unable to open" of a folder it
// cannot add its log files to: the system's own cause is found first.
std::string unwritable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return std::string("cannot be written: ") + std::strerror(errno);
    ::close(fd);
    const std::string::size_type slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "cannot be written: its folder " + folder + ": " + std::strerror(errno);
    return {};
}

// A new history file is private from its first byte: SQLite would create it readable by everyone.
std::string createPrivateFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return std::string("cannot be created: ") + std::strerror(errno);
    ::close(fd);
    return {};
}

std::optional<std::int64_t> singleInt(sqlite3* db, const char* sql) {
    Statement statement(db, sql);
    if (!statement.step()) return std::nullopt;
    return statement.integer(0);
}

}  // namespace

HistoryStore::HistoryStore(sqlite3* db, std::string path)
    : m_db(db), m_path(std::move(path)), m_last(feed::kServerNames.size()), m_sinceWhole(feed::kServerNames.size()) {}

HistoryStore::~HistoryStore() {
    sqlite3_close(m_db);
}

// SQLite's message, and the cause the system gave where SQLite kept it.
std::string HistoryStore::describeFailure(const char* doing) const {
    std::string text = std::string(doing) + ": " + sqlite3_errmsg(m_db);
    // SQLite reports a full disk (a write that came back ENOSPC) without keeping the error.
    const int error = (sqlite3_errcode(m_db) & 0xff) == SQLITE_FULL ? ENOSPC : sqlite3_system_errno(m_db);
    if (error != 0) text += std::string(" (") + std::strerror(error) + ")";
    return text;
}

base::Result<std::unique_ptr<HistoryStore>> HistoryStore::open(const std::string& path,
                                                               const std::vector<SchemaStep>& steps) {
    bool exists = false;
    if (std::string refused = refusalOf(path, exists); !refused.empty()) return base::Failure{std::move(refused)};
    if (!exists) {
        if (std::string refused = createPrivateFile(path); !refused.empty()) return base::Failure{std::move(refused)};
    }
    if (std::string refused = unwritable(path); !refused.empty()) return base::Failure{std::move(refused)};

    sqlite3* db = nullptr;
    const int opened =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<HistoryStore> store(new HistoryStore(db, path));
    if (opened != SQLITE_OK) return base::Failure{store->describeFailure("cannot be opened")};
    sqlite3_busy_timeout(db, kOpenBusyMilliseconds);
    sqlite3_extended_result_codes(db, 1);

    // Everything is read before anything is written, so a file that is not ours stays as it was.
    const std::optional<std::int64_t> version = singleInt(db, "PRAGMA user_version");
    const std::optional<std::int64_t> tables = singleInt(db, "SELECT count(*) FROM sqlite_master");
    if (!version || !tables) return base::Failure{store->describeFailure("is not a Warmap history")};
    const int latest = steps.back().to;
    if (*version > latest)
        return base::Failure{"was written by a newer Warmap (layout " + std::to_string(*version) +
                             ", this one reads up to " + std::to_string(latest) + ")"};
    if (*version == 0 && *tables != 0) return base::Failure{"is not a Warmap history: it holds other tables"};
    if (!execute(db, "PRAGMA journal_mode=WAL") || !execute(db, "PRAGMA synchronous=NORMAL"))
        return base::Failure{store->describeFailure("cannot be switched to write-ahead logging")};
    if (*version < latest) {
        bool upgraded = execute(db, "BEGIN IMMEDIATE");
        for (const SchemaStep& step : steps) {
            if (upgraded && step.to > *version) upgraded = execute(db, step.sql);
        }
        const std::string setVersion = "PRAGMA user_version=" + std::to_string(latest);
        upgraded = upgraded && execute(db, setVersion.c_str()) && execute(db, "COMMIT");
        if (!upgraded) {
            const std::string failure = store->describeFailure("cannot be brought up to date");
            execute(db, "ROLLBACK");
            return base::Failure{failure};
        }
    }
    if (const base::Status loaded = store->load(); !loaded) return base::Failure{loaded.error()};
    // A file another program holds locked is found now, not in the middle of a pass.
    if (!execute(db, "BEGIN IMMEDIATE")) return base::Failure{store->describeFailure("cannot be written")};
    execute(db, "ROLLBACK");
    sqlite3_busy_timeout(db, kRecordBusyMilliseconds);
    return store;
}

base::Status HistoryStore::load() {
    Statement words(m_db, "SELECT id, text FROM word ORDER BY id");
    while (words.step()) {
        if (words.integer(0) != static_cast<std::int64_t>(m_words.size())) {
            return base::Failure{"is damaged: its words are not numbered in order"};
        }
        m_words.push_back(words.text(1));
        m_wordNumbers.emplace(m_words.back(), static_cast<int>(m_words.size() - 1));
    }
    if (!words.isDone()) return base::Failure{describeFailure("cannot be read")};
    for (std::size_t server = 0; server < m_last.size(); ++server) {
        Statement last(m_db,
                       "SELECT max(pass), (SELECT max(pass) FROM whole WHERE server=?1) FROM feed WHERE server=?1");
        last.bind(1, static_cast<std::int64_t>(server));
        if (!last.step()) {
            return base::Failure{describeFailure("cannot be read")};
        }
        if (last.isNull(0)) continue;
        const std::int64_t lastPass = last.integer(0), lastWhole = last.integer(1);
        m_last[server] = stateAt(static_cast<int>(server), lastPass);
        Statement since(m_db, "SELECT count(*) FROM feed WHERE server=? AND pass>?");
        since.bind(1, static_cast<std::int64_t>(server)).bind(2, lastWhole);
        if (!m_last[server] || !since.step()) {
            return base::Failure{m_last[server] ? describeFailure("cannot be read")
                                                : "is damaged: the last state of " +
                                                      std::string(feed::kServerNames[server]) + " cannot be rebuilt"};
        }
        m_sinceWhole[server] = static_cast<int>(since.integer(0));
    }
    return {};
}

const std::string& HistoryStore::word(int word) const {
    static const std::string kUnknown;
    return word >= 0 && static_cast<std::size_t>(word) < m_words.size() ? m_words[static_cast<std::size_t>(word)]
                                                                        : kUnknown;
}

int HistoryStore::wordNumber(const std::string& text) {
    if (const auto found = m_wordNumbers.find(text); found != m_wordNumbers.end()) return found->second;
    const int number = static_cast<int>(m_words.size());
    m_words.push_back(text);
    m_wordNumbers.emplace(text, number);
    m_newWords.push_back(text);
    return number;
}

base::Status HistoryStore::record(Seconds time, const std::vector<ArrivedFeed>& feeds,
                                  const feed::MessageLines& lines) {
    if (feeds.empty() && lines.empty()) return {};
    const std::size_t wordsBefore = m_words.size();
    m_newWords.clear();
    bool ok = execute(m_db, "BEGIN IMMEDIATE");
    std::int64_t pass = 0;
    if (ok) {
        Statement insertPass(m_db, "INSERT INTO pass(time) VALUES(?)");
        ok = insertPass.run(time);
        pass = sqlite3_last_insert_rowid(m_db);
    }
    std::vector<bool> whole(feeds.size());
    if (ok) {
        Statement insertFeed(m_db, "INSERT INTO feed(server, pass, date, size) VALUES(?, ?, ?, ?)");
        Statement insertChange(m_db,
                               "INSERT INTO change(server, pass, position, id, old_realm, new_realm, old_guild, "
                               "new_guild) VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
        Statement insertWhole(m_db,
                              "INSERT INTO whole(server, pass, position, id, realm, guild) VALUES(?, ?, ?, ?, ?, ?)");
        for (std::size_t f = 0; ok && f < feeds.size(); ++f) {
            const ArrivedFeed& arrived = feeds[f];
            const auto& previous = m_last[static_cast<std::size_t>(arrived.server)];
            whole[f] =
                !previous || m_sinceWhole[static_cast<std::size_t>(arrived.server)] + 1 >= kRecordingsPerWholeState;
            const ServerState& state = arrived.state;
            ok = insertFeed.run(arrived.server, pass, arrived.date, static_cast<std::int64_t>(state.size()));
            const std::size_t before = previous ? previous->size() : 0;
            for (std::size_t i = 0; ok && i < std::max(state.size(), before); ++i) {
                if (i >= state.size()) {
                    const Holding& gone = (*previous)[i];
                    ok = insertChange.run(arrived.server, pass, i, wordNumber(gone.id), wordNumber(gone.realm), kAbsent,
                                          wordNumber(gone.guild), kAbsent);
                    continue;
                }
                const Holding& now = state[i];
                if (previous && (i >= before || (*previous)[i].id != now.id)) {
                    ok = insertChange.run(arrived.server, pass, i, wordNumber(now.id), kAbsent, wordNumber(now.realm),
                                          kAbsent, wordNumber(now.guild));
                } else if (previous && (*previous)[i] != now) {
                    const Holding& was = (*previous)[i];
                    ok = insertChange.run(arrived.server, pass, i, wordNumber(now.id), wordNumber(was.realm),
                                          wordNumber(now.realm), wordNumber(was.guild), wordNumber(now.guild));
                }
                if (ok && whole[f]) {
                    ok = insertWhole.run(arrived.server, pass, i, wordNumber(now.id), wordNumber(now.realm),
                                         wordNumber(now.guild));
                }
            }
        }
    }
    if (ok && !m_newWords.empty()) {
        Statement insertWord(m_db, "INSERT INTO word(id, text) VALUES(?, ?)");
        for (std::size_t w = 0; ok && w < m_newWords.size(); ++w) ok = insertWord.run(wordsBefore + w, m_newWords[w]);
    }
    if (ok) {
        Statement insertLine(m_db, "INSERT INTO notice(pass, seq, line) VALUES(?, ?, ?)");
        for (std::size_t seq = 0; ok && seq < lines.size(); ++seq) ok = insertLine.run(pass, seq, lines[seq]);
    }
    if (ok && !lines.empty()) {
        Statement prune(m_db,
                        "DELETE FROM notice WHERE pass < (SELECT min(pass) FROM "
                        "(SELECT DISTINCT pass FROM notice ORDER BY pass DESC LIMIT ?))");
        ok = prune.run(kPassesWithLinesKept);
    }
    ok = ok && execute(m_db, "COMMIT");
    if (!ok) {
        const std::string failure = describeFailure("cannot take the pass");
        execute(m_db, "ROLLBACK");
        for (std::size_t w = wordsBefore; w < m_words.size(); ++w) m_wordNumbers.erase(m_words[w]);
        m_words.resize(wordsBefore);
        return base::Failure{failure};
    }
    for (std::size_t f = 0; f < feeds.size(); ++f) {
        const auto server = static_cast<std::size_t>(feeds[f].server);
        m_last[server] = feeds[f].state;
        m_sinceWhole[server] = whole[f] ? 0 : m_sinceWhole[server] + 1;
    }
    return {};
}

std::vector<RecordedLines> HistoryStore::recentLines(std::size_t passes) const {
    std::vector<RecordedLines> recent;
    Statement select(m_db,
                     "SELECT n.pass, p.time, n.line FROM notice n JOIN pass p ON p.id = n.pass WHERE n.pass IN "
                     "(SELECT DISTINCT pass FROM notice ORDER BY pass DESC LIMIT ?) ORDER BY n.pass DESC, n.seq");
    select.bind(1, static_cast<std::int64_t>(passes));
    std::int64_t current = -1;
    while (select.step()) {
        if (select.integer(0) != current) {
            current = select.integer(0);
            recent.push_back({select.integer(1), {}});
        }
        recent.back().lines.push_back(select.text(2));
    }
    return recent;
}

std::vector<Moment> HistoryStore::moments(int server, Seconds from, Seconds to) const {
    std::vector<Moment> moments;
    Statement select(m_db,
                     "SELECT f.pass, p.time, f.date FROM feed f JOIN pass p ON p.id = f.pass "
                     "WHERE f.server = ? AND p.time BETWEEN ? AND ? ORDER BY f.pass");
    select.bind(1, server).bind(2, from).bind(3, to);
    while (select.step()) moments.push_back({select.integer(0), select.integer(1), select.text(2)});
    return moments;
}

std::optional<Moment> HistoryStore::firstMoment(int server) const {
    Statement select(m_db,
                     "SELECT f.pass, p.time, f.date FROM feed f JOIN pass p ON p.id = f.pass "
                     "WHERE f.server = ? ORDER BY f.pass LIMIT 1");
    select.bind(1, server);
    if (!select.step()) return std::nullopt;
    return Moment{select.integer(0), select.integer(1), select.text(2)};
}

std::optional<Moment> HistoryStore::momentAt(int server, Seconds time) const {
    Statement select(m_db,
                     "SELECT f.pass, p.time, f.date FROM feed f JOIN pass p ON p.id = f.pass "
                     "WHERE f.server = ? AND p.time <= ? ORDER BY f.pass DESC LIMIT 1");
    select.bind(1, server).bind(2, time);
    if (!select.step()) return std::nullopt;
    return Moment{select.integer(0), select.integer(1), select.text(2)};
}

std::optional<ServerState> HistoryStore::stateAt(int server, std::int64_t pass) const {
    Statement size(m_db,
                   "SELECT size, (SELECT max(pass) FROM whole WHERE server = ?1 AND pass <= ?2) FROM feed "
                   "WHERE server = ?1 AND pass = (SELECT max(pass) FROM feed WHERE server = ?1 AND pass <= ?2)");
    size.bind(1, server).bind(2, pass);
    if (!size.step()) return std::nullopt;
    const std::int64_t positions = size.integer(0);
    // No whole state yet (a first feed without entries): every position came as a change.
    const std::int64_t basePass = size.isNull(1) ? 0 : size.integer(1);
    // A feed has never had anything near this many; a larger number is a damaged file.
    constexpr std::int64_t kMostPositions = 1 << 16;
    if (positions < 0 || positions > kMostPositions) return std::nullopt;

    // Position by position: the last thing the file says of it up to the pass, absent or there.
    std::vector<std::optional<Holding>> byPosition(static_cast<std::size_t>(positions));
    const auto take = [&byPosition](std::int64_t position, std::optional<Holding> holding) {
        if (position < 0 || position >= kMostPositions) return false;
        if (static_cast<std::size_t>(position) >= byPosition.size())
            byPosition.resize(static_cast<std::size_t>(position) + 1);
        byPosition[static_cast<std::size_t>(position)] = std::move(holding);
        return true;
    };
    const auto word = [this](std::int64_t number) { return this->word(static_cast<int>(number)); };
    Statement base(m_db, "SELECT position, id, realm, guild FROM whole WHERE server = ? AND pass = ?");
    base.bind(1, server).bind(2, basePass);
    while (base.step()) {
        if (!take(base.integer(0), Holding{word(base.integer(1)), word(base.integer(2)), word(base.integer(3))}))
            return std::nullopt;
    }
    Statement changes(m_db,
                      "SELECT position, id, new_realm, new_guild FROM change WHERE server = ? AND pass > ? AND "
                      "pass <= ? ORDER BY pass");
    changes.bind(1, server).bind(2, basePass).bind(3, pass);
    while (changes.step()) {
        std::optional<Holding> holding;
        if (changes.integer(2) != kAbsent)
            holding = Holding{word(changes.integer(1)), word(changes.integer(2)), word(changes.integer(3))};
        if (!take(changes.integer(0), std::move(holding))) return std::nullopt;
    }
    // Exactly the feed's positions are there, and nothing beyond them.
    ServerState state;
    state.reserve(static_cast<std::size_t>(positions));
    for (std::size_t i = 0; i < byPosition.size(); ++i) {
        if (byPosition[i].has_value() != (i < static_cast<std::size_t>(positions))) return std::nullopt;
        if (byPosition[i]) state.push_back(std::move(*byPosition[i]));
    }
    return state;
}

namespace {

// A change row as the queries below select it: time, pass, position, id and the four realm and guild
// words.
Change changeOf(const Statement& row) {
    const auto number = [&row](int column) { return static_cast<int>(row.integer(column)); };
    return {row.integer(0), row.integer(1), number(2), number(3), number(4), number(5), number(6), number(7)};
}

}  // namespace

std::vector<Change> HistoryStore::changes(int server, Seconds from, Seconds to) const {
    std::vector<Change> changes;
    Statement select(m_db,
                     "SELECT p.time, c.pass, c.position, c.id, c.old_realm, c.new_realm, c.old_guild, c.new_guild "
                     "FROM change c JOIN pass p ON p.id = c.pass WHERE c.server = ? AND p.time BETWEEN ? AND ? "
                     "ORDER BY c.pass, c.position");
    select.bind(1, server).bind(2, from).bind(3, to);
    while (select.step()) changes.push_back(changeOf(select));
    return changes;
}

std::vector<Change> HistoryStore::structureChanges(int server, const std::string& id, Seconds from, Seconds to) const {
    std::vector<Change> changes;
    const auto number = m_wordNumbers.find(id);
    if (number == m_wordNumbers.end()) return changes;
    Statement select(m_db,
                     "SELECT p.time, c.pass, c.position, c.id, c.old_realm, c.new_realm, c.old_guild, c.new_guild "
                     "FROM change c JOIN pass p ON p.id = c.pass WHERE c.server = ? AND c.id = ? AND "
                     "p.time BETWEEN ? AND ? ORDER BY c.pass, c.new_realm != ?, c.position");
    select.bind(1, server).bind(2, number->second).bind(3, from).bind(4, to).bind(5, kAbsent);
    while (select.step()) changes.push_back(changeOf(select));
    return changes;
}

std::vector<Moment> HistoryStore::reshapedAt(int server, Seconds from, Seconds to) const {
    std::vector<Moment> passes;
    Statement select(m_db,
                     "SELECT DISTINCT c.pass, p.time FROM change c JOIN pass p ON p.id = c.pass WHERE c.server = ? "
                     "AND p.time BETWEEN ? AND ? AND (c.old_realm = ?4 OR c.new_realm = ?4) ORDER BY c.pass");
    select.bind(1, server).bind(2, from).bind(3, to).bind(4, kAbsent);
    while (select.step()) passes.push_back({select.integer(0), select.integer(1), {}});
    return passes;
}

std::vector<std::string> HistoryStore::guildNames() const {
    std::vector<std::string> names;
    // Each column on its own: one DISTINCT over both would sort every row of the file.
    Statement select(m_db,
                     "SELECT text FROM word WHERE id IN (SELECT DISTINCT guild FROM whole) OR "
                     "id IN (SELECT DISTINCT new_guild FROM change)");
    while (select.step()) {
        if (std::string name = select.text(0); !name.empty()) names.push_back(std::move(name));
    }
    return names;
}

}  // namespace history
