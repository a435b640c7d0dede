// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <random>

#include "history/HistoryStore.h"
#include "history/StructureStory.h"
#include "tests/support/Succeeded.h"

namespace history {
// Readable failures.
// NOLINTNEXTLINE(readability-identifier-naming): the name GoogleTest looks for
void PrintTo(const Hold& hold, std::ostream* out) {
    *out << hold.holder.realm << "/" << hold.holder.guild << " " << hold.start << (hold.startKnown ? "" : "?") << ".."
         << hold.end << (hold.running ? " running" : "");
}
}  // namespace history

namespace {

using history::Hold;
using history::Holder;
using history::Seconds;
using history::ServerState;
using history::StructureStory;

// What every pass gave one server, as the feed said it: the truth the stories are checked against.
struct Recorded {
    Seconds time;
    ServerState state;
};

std::optional<Holder> holderIn(const ServerState& state, const std::string& id) {
    for (const history::Holding& holding : state) {
        if (holding.id == id) return Holder{holding.realm, holding.guild};
    }
    return std::nullopt;
}

// The story straight from the feeds, pass after pass.
StructureStory expectedStory(const std::vector<Recorded>& passes, const std::string& id, Seconds from, Seconds to) {
    StructureStory story;
    std::optional<Holder> current;
    for (std::size_t k = 0; k < passes.size() && passes[k].time <= to; ++k) {
        const std::optional<Holder> now = holderIn(passes[k].state, id);
        if (k == 0) {
            if (now) story.holds.push_back({*now, passes[k].time, to, false, true});
        } else if (now != current) {
            if (current) {
                story.holds.back().end = passes[k].time;
                story.holds.back().running = false;
            }
            if (now) story.holds.push_back({*now, passes[k].time, to, true, true});
            if (current && now && passes[k].time >= from) ++story.changes;
        }
        current = now;
    }
    std::erase_if(story.holds, [from](const Hold& hold) { return !hold.running && hold.end < from; });
    return story;
}

// Four hundred passes ten minutes apart on two servers: a few structures change realm or guild each
// pass, feeds now and then miss a pass, lose or gain structures, or move them to other positions.
class StructureStoryTest : public ::testing::Test {
protected:
    static constexpr Seconds kStart = 1'000'000;
    StructureStoryTest() {
        auto opened = history::HistoryStore::open(m_dir.filePath(QStringLiteral("history.sqlite")).toStdString());
        EXPECT_TRUE(testing_support::succeeded(opened));
        m_store = std::move(*opened);
        std::mt19937 random(5);
        static const char* const kRealms[] = {"Albion", "Midgard", "Hibernia"};
        static const char* const kGuilds[] = {"", "Eisenwacht", "Die Grauen Falken", "Moorwarden"};
        std::array<ServerState, 2> now;
        for (ServerState& state : now) {
            for (int id = 0; id < 105; ++id) state.push_back({std::to_string(id), kRealms[id % 3], ""});
        }
        for (int pass = 0; pass < 400; ++pass) {
            const Seconds time = kStart + pass * 600;
            std::vector<history::ArrivedFeed> feeds;
            for (int server = 0; server < 2; ++server) {
                ServerState& state = now[static_cast<std::size_t>(server)];
                for (int n = static_cast<int>(random() % 6); n > 0; --n) {
                    history::Holding& holding = state[random() % state.size()];
                    if (random() % 2) holding.realm = kRealms[random() % 3];
                    holding.guild = kGuilds[random() % 4];
                }
                if (random() % 40 == 0) state.erase(state.begin() + static_cast<long>(random() % state.size()));
                if (random() % 40 == 0 && state.size() < 105) {
                    std::string id;  // one the feed lacks now
                    for (int candidate = 0; id.empty(); ++candidate) {
                        if (!holderIn(state, std::to_string(candidate))) id = std::to_string(candidate);
                    }
                    state.insert(state.begin() + static_cast<long>(random() % state.size()), {id, kRealms[0], ""});
                }
                if (random() % 40 == 0) std::swap(state[random() % state.size()], state[random() % state.size()]);
                if (pass > 0 && random() % 9 == 0) continue;  // this server's feed did not come
                feeds.push_back({server, "date", state});
                m_passes[static_cast<std::size_t>(server)].push_back({time, state});
            }
            EXPECT_TRUE(testing_support::succeeded(m_store->record(time, feeds, {})));
        }
    }

    // Stretches as the history window asks for them and their edges: before the first pass, on a pass,
    // a second either side of one, the last pass.
    std::vector<std::pair<Seconds, Seconds>> stretches() {
        std::mt19937 random(9);
        std::vector<std::pair<Seconds, Seconds>> all{
            {0, kStart + 400 * 600}, {0, kStart}, {kStart + 200 * 600, kStart + 200 * 600}};
        for (int n = 0; n < 12; ++n) {
            const Seconds a =
                kStart + static_cast<Seconds>(random() % 400) * 600 + static_cast<Seconds>(random() % 3) - 1;
            const Seconds b =
                kStart + static_cast<Seconds>(random() % 400) * 600 + static_cast<Seconds>(random() % 3) - 1;
            all.emplace_back(std::min(a, b), std::max(a, b));
        }
        return all;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<history::HistoryStore> m_store;
    std::array<std::vector<Recorded>, 2> m_passes;
};

// Holds that began before the stretch keep their true start, one still running ends with the
// stretch, ones inside it are whole; changes are counted only inside the stretch; a structure moved to
// another position, lost or found again is followed by its id.
TEST_F(StructureStoryTest, HoldsAndChangesMatchTheFeedsAcrossStretchEdges) {
    int compared = 0, beganBefore = 0, inside = 0;
    for (int server = 0; server < 2; ++server) {
        for (const auto& [from, to] : stretches()) {
            for (int id = 0; id < 106; id += 3) {
                const StructureStory expected =
                    expectedStory(m_passes[static_cast<std::size_t>(server)], std::to_string(id), from, to);
                const StructureStory told = history::storyOf(*m_store, server, std::to_string(id), from, to);
                ASSERT_EQ(told.holds, expected.holds)
                    << "server " << server << " id " << id << " " << from << ".." << to;
                ASSERT_EQ(told.changes, expected.changes) << "server " << server << " id " << id;
                const Hold* longest = told.longest();
                ASSERT_EQ(longest == nullptr, expected.holds.empty());
                if (longest) {
                    EXPECT_EQ(*longest, *expected.longest());
                }
                for (const Hold& hold : told.holds) {
                    beganBefore += hold.start < from;
                    inside += hold.start >= from && !hold.running;
                }
                ++compared;
            }
        }
    }
    // The stretches did meet every kind of hold.
    EXPECT_GT(beganBefore, 100);
    EXPECT_GT(inside, 100);
    EXPECT_GT(compared, 1000);
}

TEST_F(StructureStoryTest, TheMostContestedAreThoseWithTheMostChangesThenByIdAndWhoHoldsWhenIsKnown) {
    for (int server = 0; server < 2; ++server) {
        const auto& passes = m_passes[static_cast<std::size_t>(server)];
        for (const auto& [from, to] : stretches()) {
            std::vector<std::pair<int, int>> expected;  // (-changes, id)
            for (int id = 0; id < 106; ++id) {
                const int changes = expectedStory(passes, std::to_string(id), from, to).changes;
                if (changes > 0) expected.emplace_back(-changes, id);
            }
            std::sort(expected.begin(), expected.end());
            expected.resize(std::min<std::size_t>(expected.size(), 10));
            std::vector<std::pair<int, int>> told;
            for (const history::ContestedStructure& c : history::mostContested(*m_store, server, from, to, 10)) {
                told.emplace_back(-c.story.changes, std::stoi(c.id));
                EXPECT_EQ(c.story.holds, expectedStory(passes, c.id, from, to).holds);
            }
            EXPECT_EQ(told, expected) << "server " << server << " " << from << ".." << to;
        }
        // The holder after a pass, and since when.
        for (std::size_t k = 0; k < passes.size(); k += 37) {
            const history::Moment moment{0, passes[k].time, {}};
            const auto at = m_store->momentAt(server, passes[k].time);
            ASSERT_TRUE(at);
            for (int id = 0; id < 105; id += 11) {
                const StructureStory expected =
                    expectedStory(passes, std::to_string(id), passes[k].time, passes[k].time);
                const std::optional<Hold> held = history::holdAt(*m_store, server, std::to_string(id), *at);
                ASSERT_EQ(held.has_value(), !expected.holds.empty() && expected.holds.back().running);
                if (held) {
                    EXPECT_EQ(*held, expected.holds.back());
                }
            }
        }
    }
}

}  // namespace
