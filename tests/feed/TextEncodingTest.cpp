#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "feed/KeepNames.h"
#include "feed/TextEncoding.h"
#include "tests/support/TempDir.h"

namespace {

TEST(TextEncoding, UndeclaredTextIsUtf8WhenItCanBeElseWindows1252) {
    EXPECT_EQ(feed::decodeUndeclared("Caer S\xc3\xad"
                                     "di"),
              "Caer S\xc3\xad"
              "di");
    EXPECT_EQ(feed::decodeUndeclared("Caer S\xed"
                                     "di"),
              "Caer S\xc3\xad"
              "di");
    EXPECT_EQ(feed::decodeUndeclared("\x80 \x8a\x9f \xff"), "\xe2\x82\xac \xc5\xa0\xc5\xb8 \xc3\xbf");
    // A UTF-8 value cut inside its last character by a full buffer loses that character only.
    EXPECT_EQ(feed::decodeUndeclared("Br\xc3\xbc"
                                     "cke \xe2\x82",
                                     true),
              "Br\xc3\xbc"
              "cke ");
    // Overlong forms and surrogates are no UTF-8.
    EXPECT_FALSE(feed::isUtf8("\xc0\xaf"));
    EXPECT_FALSE(feed::isUtf8("\xed\xa0\x80"));
    EXPECT_TRUE(feed::isUtf8("\xf0\x9f\x8f\xb0"));
    for (int b = 0; b < 256; ++b) {
        EXPECT_TRUE(feed::isUtf8(feed::decodeUndeclared(std::string(1, static_cast<char>(b))))) << b;
    }
}

TEST(TextEncoding, ASingleByteCatalogueReadsAsUtf8) {
    QTemporaryDir dir;
    // A 255-byte value (the buffer's limit) whose last letter, a UTF-8 one, was cut in half.
    const std::string full = std::string(252, 'a') + "\xc3\xbc\xe2\x82\xac";
    testing_support::writeFile(dir.filePath("keepnames.ini").toStdString(),
                               "[keepnames]\n5=Caer S\xed"
                               "di\n6=Caer S\xc3\xad"
                               "di Watch\n8=Caf\xe9\n9=Cara\xe7\n10=Dun Cr\xf3\n11=" +
                                   full + "\n");
    const feed::KeepNames names(dir.path().toStdString());
    // A single-byte letter at the end of a short value is a letter, not half a UTF-8 one.
    EXPECT_EQ(names.keepName("8"), "Caf\xc3\xa9");
    EXPECT_EQ(names.keepName("9"), "Cara\xc3\xa7");
    EXPECT_EQ(names.keepName("10"), "Dun Cr\xc3\xb3");
    EXPECT_EQ(names.keepName("11"), std::string(252, 'a') + "\xc3\xbc");
    EXPECT_EQ(names.keepName("5"),
              "Caer S\xc3\xad"
              "di");
    EXPECT_EQ(names.keepName("6"),
              "Caer S\xc3\xad"
              "di Watch");
}

}  // namespace
