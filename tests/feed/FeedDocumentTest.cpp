#include <gtest/gtest.h>

#include "feed/FeedDocument.h"
#include "tests/support/FeedBuilder.h"

namespace {

using feed::FeedDocument;
using feed::FeedError;

TEST(FeedDocument, ReadsAttributesByPositionIgnoringWhitespace) {
    const auto doc = FeedDocument::parse(
        "<keeps date=\"d1\">\n\n  <a id=\"4\" realm=\"Midgard\" guildname=\"\"/>\n"
        "\t<b id=\"9\" realm=\"Hibernia\" guildname=\"X\"/></keeps>");
    ASSERT_TRUE(doc.isFeed());
    EXPECT_EQ(doc.entryCount(), 2u);
    EXPECT_EQ(doc.date(), "d1");
    EXPECT_EQ(doc.attribute(1, "id"), "9");
    EXPECT_EQ(doc.attribute(0, "guildname"), "");
    EXPECT_THROW(doc.attribute(2, "id"), FeedError);
    EXPECT_THROW(doc.attribute(0, "missing"), FeedError);
}

TEST(FeedDocument, CommentsTakeAPositionAndHaveNoAttributes) {
    const auto doc = FeedDocument::parse("<keeps date=\"d\"><!-- note --><k id=\"0\" realm=\"Albion\"/></keeps>");
    ASSERT_EQ(doc.entryCount(), 2u);
    EXPECT_EQ(doc.attribute(0, "id"), "");
    EXPECT_EQ(doc.attribute(1, "id"), "0");
}

TEST(FeedDocument, DecodesEveryDeclaredEncodingToUtf8) {
    struct Case {
        const char* encoding;
        std::string bytes;  // "Sturmkrähen €" in that encoding (the euro sign where it exists)
        std::string utf8;
    };
    const Case cases[] = {
        {"ISO-8859-1", "Sturmkr\xe4hen", "Sturmkr\xc3\xa4hen"},
        {"windows-1252", "Sturmkr\xe4hen \x80", "Sturmkr\xc3\xa4hen \xe2\x82\xac"},
        {"ISO-8859-15", "Sturmkr\xe4hen \xa4", "Sturmkr\xc3\xa4hen \xe2\x82\xac"},
        {"UTF-8", "Sturmkr\xc3\xa4hen", "Sturmkr\xc3\xa4hen"},
    };
    for (const Case& c : cases) {
        const std::string xml = std::string("<?xml version=\"1.0\" encoding=\"") + c.encoding +
                                "\"?><keeps date=\"x\"><k id=\"0\" realm=\"Albion\" guildname=\"" + c.bytes +
                                "\"/></keeps>";
        const auto doc = FeedDocument::parse(xml);
        ASSERT_TRUE(doc.isFeed()) << c.encoding << ": " << doc.problem();
        EXPECT_EQ(doc.attribute(0, "guildname"), c.utf8) << c.encoding;
    }
    EXPECT_FALSE(
        FeedDocument::parse("<?xml version=\"1.0\" encoding=\"x-no-such-encoding\"?><keeps date=\"x\"/>").isFeed());
}

TEST(FeedDocument, ExpandsInternalEntitiesButNeverLoadsExternalOnes) {
    const auto internal = FeedDocument::parse(
        "<?xml version=\"1.0\"?><!DOCTYPE keeps [<!ENTITY alb \"Albion\">]>"
        "<keeps date=\"d\"><k id=\"0\" realm=\"&alb;\" guildname=\"\"/></keeps>");
    ASSERT_TRUE(internal.isFeed()) << internal.problem();
    EXPECT_EQ(internal.attribute(0, "realm"), "Albion");

    // An external entity or DTD is never read, whatever the document asks for. In an attribute value
    // such a reference is not well-formed at all.
    const std::string external =
        "<?xml version=\"1.0\"?><!DOCTYPE keeps [<!ENTITY x SYSTEM \"file:///etc/hostname\">]>";
    EXPECT_FALSE(FeedDocument::parse(external + "<keeps date=\"d\"><k id=\"0\" realm=\"&x;\"/></keeps>").isFeed());
    const auto inContent = FeedDocument::parse(external + "<keeps date=\"d\">&x;<k id=\"0\" realm=\"A\"/></keeps>");
    ASSERT_TRUE(inContent.isFeed()) << inContent.problem();
    EXPECT_EQ(inContent.entryCount(), 1u);
    EXPECT_EQ(inContent.attribute(0, "realm"), "A");
    const auto externalDtd = FeedDocument::parse(
        "<?xml version=\"1.0\"?><!DOCTYPE keeps SYSTEM \"http://127.0.0.1:1/keeps.dtd\"><keeps date=\"d\"/>");
    EXPECT_TRUE(externalDtd.isFeed()) << externalDtd.problem();

    // Exponential expansion stops at the parser's amplification limits.
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE keeps [<!ENTITY l0 \"lollollollollollollollollollol\">";
    for (int i = 1; i <= 9; ++i) {
        laughs += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) laughs += "&l" + std::to_string(i - 1) + ";";
        laughs += "\">";
    }
    laughs += "]><keeps date=\"&l9;\"/>";
    EXPECT_FALSE(FeedDocument::parse(laughs).isFeed());
}

TEST(FeedDocument, RefusesEveryDocumentThatIsNotWellFormed) {
    const std::string entry = "<k id=\"0\" realm=\"Albion\" guildname=\"G\"/>";
    const auto keeps = [&](const std::string& inside) { return "<keeps date=\"d\">" + inside + "</keeps>"; };
    const std::pair<const char*, std::string> cases[] = {
        {"bare ampersand", keeps("<k id=\"0\" realm=\"Albion\" guildname=\"Hack & Slay\"/>")},
        {"undefined entity", keeps("<k id=\"0\" realm=\"&alb;\" guildname=\"G\"/>")},
        {"duplicate attribute", keeps("<k id=\"0\" id=\"1\" realm=\"Albion\" guildname=\"G\"/>")},
        {"< in an attribute value", keeps("<k id=\"0\" realm=\"Alb<ion\" guildname=\"G\"/>")},
        {"two root elements", "<html><body>Bad gateway</body></html>" + keeps(entry)},
        {"text after the root", keeps(entry) + "trailing"},
        {"control character U+0001", keeps("<k id=\"0\" realm=\"Albion\" guildname=\"G\x01\"/>")},
        {"invalid UTF-8", keeps("<k id=\"0\" realm=\"Albion\" guildname=\"G\xc3\x28\"/>")},
        {"-- in a comment", keeps("<!-- a -- b -->" + entry)},
        {"blank before the declaration", " <?xml version=\"1.0\"?>" + keeps(entry)},
        {"character reference to 0", keeps("<k id=\"0\" realm=\"Albion\" guildname=\"&#0;\"/>")},
        {"unclosed element", "<keeps date=\"d\"><k id=\"0\">"},
        {"mismatched end tag", "<keeps date=\"d\">" + entry + "</keep>"},
        {"unquoted attribute", keeps("<k id=0 realm=\"Albion\" guildname=\"G\"/>")},
        {"no element at all", "just text"},
        {"empty document", ""},
    };
    for (const auto& [what, xml] : cases) {
        const auto doc = FeedDocument::parse(xml);
        EXPECT_FALSE(doc.isFeed()) << what;
        EXPECT_FALSE(doc.problem().empty()) << what;
        EXPECT_THROW(doc.date(), FeedError) << what;
    }
    EXPECT_TRUE(FeedDocument::parse(keeps(entry)).isFeed());
}

// UTF-16 is read, little or big end first; a document with half a code unit at its end is refused.
TEST(FeedDocument, RefusesUtf16EndingInHalfACodeUnit) {
    const std::string ascii = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><keeps date=\"d\"><k id=\"0\"/></keeps>";
    for (const bool little : {true, false}) {
        std::string utf16 = little ? "\xff\xfe" : "\xfe\xff";
        for (char c : ascii) utf16 += little ? std::string{c, '\0'} : std::string{'\0', c};
        EXPECT_TRUE(FeedDocument::parse(utf16).isFeed()) << little;
        EXPECT_FALSE(FeedDocument::parse(utf16 + '\n').isFeed()) << little;
        EXPECT_FALSE(FeedDocument::parse(utf16.substr(2) + '\n').isFeed()) << little << ", without its mark";
    }
}

TEST(FeedDocument, ReportsWhatIsNotAFeed) {
    EXPECT_FALSE(FeedDocument::parse("<html><body>404</body></html>").isFeed());
    EXPECT_FALSE(FeedDocument::parse("<x:keeps xmlns:x=\"urn:x\" date=\"d\"/>").isFeed());
    EXPECT_FALSE(FeedDocument::notAFeed("Datei nicht lesbar: /x").isFeed());
    EXPECT_EQ(FeedDocument::notAFeed("Datei nicht lesbar: /x").problem(), "Datei nicht lesbar: /x");
    EXPECT_THROW(FeedDocument::parse("<keeps/>").date(), FeedError);
    EXPECT_TRUE(FeedDocument::parse(testing_support::FeedBuilder().xml()).isFeed());
}

}  // namespace
