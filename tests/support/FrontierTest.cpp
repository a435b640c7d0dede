#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tools/feedsim/Frontier.h"

namespace {

// Tests take two seeds for two different frontiers: a hundred neighbouring seeds give a hundred.
TEST(Frontier, NeighbouringSeedsGiveDifferentFrontiers) {
    std::set<std::string> frontiers;
    for (std::uint32_t seed = 1; seed <= 100; ++seed) {
        const feedsim::Frontier frontier(seed);
        std::string all;
        for (int server = 0; server < 4; ++server) all += frontier.feedXml(server);
        EXPECT_TRUE(frontiers.insert(all).second) << "seed " << seed;
    }
}

}  // namespace
