#include <gtest/gtest.h>

#include "feed/FeedPaths.h"
#include "feed/Frontier.h"

namespace {

TEST(ServerTable, ShortCodesIgnoreCaseAndPassOtherNamesThrough) {
    EXPECT_EQ(feed::ServerShortCode("Dartmoor"), "DM");
    EXPECT_EQ(feed::ServerShortCode("LOGRES"), "LOG");
    EXPECT_EQ(feed::ServerShortCode("avalon"), "AVA");
    EXPECT_EQ(feed::ServerShortCode("salisbury"), "SAL");
    EXPECT_EQ(feed::ServerShortCode("SaLiSbUrY"), "SAL");
    EXPECT_EQ(feed::ServerShortCode("Northwind"), "Northwind");
    EXPECT_EQ(feed::ServerShortCode(""), "");
}

TEST(ServerTable, PathsFollowTheNamingRule) {
    EXPECT_EQ(feed::FeedPath("Logres"), "/herald/servers/Logres/keeps/keeps.xml");
    EXPECT_EQ(feed::SavedCopyPath("/tmp/", "Dartmoor"), "/tmp/Dartmoor_lastkeeps.xml");
    ASSERT_EQ(feed::ServerNames.size(), 4u);
    EXPECT_EQ(feed::ServerNames[2], "Avalon");
}

}  // namespace
