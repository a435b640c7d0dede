#include <gtest/gtest.h>

#include "feed/FeedDocument.h"
#include "tests/support/FeedBuilder.h"

namespace {

using feed::FeedDocument;
using feed::FeedError;

TEST(FeedDocument, ReadsAttributesByPositionIgnoringWhitespace) {
    const auto doc = FeedDocument::Parse(
        "<keeps date=\"d1\">\n\n  <a id=\"4\" realm=\"Midgard\" guildname=\"\"/>\n"
        "\t<b id=\"9\" realm=\"Hibernia\" guildname=\"X\"/></keeps>");
    ASSERT_TRUE(doc.IsFeed());
    EXPECT_EQ(doc.EntryCount(), 2u);
    EXPECT_EQ(doc.Date(), "d1");
    EXPECT_EQ(doc.Attribute(1, "id"), "9");
    EXPECT_EQ(doc.Attribute(0, "guildname"), "");
    EXPECT_THROW(doc.Attribute(2, "id"), FeedError);
    EXPECT_THROW(doc.Attribute(0, "missing"), FeedError);
}

TEST(FeedDocument, CommentsTakeAPositionAndHaveNoAttributes) {
    const auto doc = FeedDocument::Parse("<keeps date=\"d\"><!-- note --><k id=\"0\" realm=\"Albion\"/></keeps>");
    ASSERT_EQ(doc.EntryCount(), 2u);
    EXPECT_EQ(doc.Attribute(0, "id"), "");
    EXPECT_EQ(doc.Attribute(1, "id"), "0");
}

TEST(FeedDocument, HonoursTheDeclaredEncoding) {
    const std::string latin1 =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><keeps date=\"x\">"
        "<k id=\"0\" realm=\"Albion\" guildname=\"Sturmkr\xe4hen\"/></keeps>";
    EXPECT_EQ(FeedDocument::Parse(latin1).Attribute(0, "guildname"), "Sturmkr\xc3\xa4hen");  // UTF-8 inside
}

TEST(FeedDocument, NeverExpandsOrFetchesEntities) {
    const std::string hostile =
        "<?xml version=\"1.0\"?><!DOCTYPE keeps [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY x SYSTEM \"file:///etc/hostname\">]><keeps date=\"&b;\"><k id=\"0\" realm=\"&x;\"/></keeps>";
    const auto doc = FeedDocument::Parse(hostile);
    ASSERT_TRUE(doc.IsFeed());
    EXPECT_EQ(doc.Date().find("aaaa"), std::string::npos);
    EXPECT_EQ(doc.Attribute(0, "realm"), "&x;");
}

TEST(FeedDocument, ReportsWhatIsNotAFeed) {
    EXPECT_FALSE(FeedDocument::Parse("<html><body>404</body></html>").IsFeed());
    EXPECT_FALSE(FeedDocument::Parse("<keeps date=\"x\"><k").IsFeed());
    EXPECT_FALSE(FeedDocument::Parse("").IsFeed());
    EXPECT_FALSE(FeedDocument::Load("/nonexistent/feed.xml").IsFeed());
    EXPECT_THROW(FeedDocument::Parse("<keeps/>").Date(), FeedError);
    EXPECT_TRUE(FeedDocument::Parse(testing_support::FeedBuilder().Xml()).IsFeed());
}

}  // namespace
