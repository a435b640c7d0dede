#include <gtest/gtest.h>

#include "feed/FeedPaths.h"
#include "feed/Frontier.h"

namespace {

TEST(ServerTable, ShortCodesIgnoreCaseAndPassOtherNamesThrough) {
    EXPECT_EQ(feed::serverShortCode("Dartmoor"), "DM");
    EXPECT_EQ(feed::serverShortCode("LOGRES"), "LOG");
    EXPECT_EQ(feed::serverShortCode("avalon"), "AVA");
    EXPECT_EQ(feed::serverShortCode("salisbury"), "SAL");
    EXPECT_EQ(feed::serverShortCode("SaLiSbUrY"), "SAL");
    EXPECT_EQ(feed::serverShortCode("Northwind"), "Northwind");
    EXPECT_EQ(feed::serverShortCode(""), "");
}

TEST(ServerTable, PathsFollowTheNamingRule) {
    EXPECT_EQ(feed::feedPath("Logres"), "/herald/servers/Logres/keeps/keeps.xml");
    EXPECT_EQ(feed::savedCopyPath("/tmp/", "Dartmoor"), "/tmp/Dartmoor_lastkeeps.xml");
    ASSERT_EQ(feed::kServerNames.size(), 4u);
    EXPECT_EQ(feed::kServerNames[2], "Avalon");
}

}  // namespace
