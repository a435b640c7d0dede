#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>

#include "feed/IniReader.h"
#include "feed/KeepNames.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::writeFile;

class IniReaderTest : public ::testing::Test {
protected:
    std::string folder() const { return m_dir.path().toStdString(); }
    std::string catalogue(const std::string& content) {
        writeFile(folder() + "/keepnames.ini", content);
        return folder() + "/keepnames.ini";
    }
    QTemporaryDir m_dir;
};

TEST_F(IniReaderTest, KeepNameFindsListedIdsAndDefaultsTheRest) {
    catalogue("; frontier names\n[other]\n17=Wrong\n[KEEPNAMES]\n  17 = Northgate  \n19=\"Quoted Hold\"\n20=\n");
    const feed::KeepNames names(folder());
    EXPECT_EQ(names.keepName("17"), "Northgate");
    EXPECT_EQ(names.keepName("18"), "UNKNOWN");
    EXPECT_EQ(names.keepName("19"), "Quoted Hold");
    EXPECT_EQ(names.keepName("20"), "");  // present but empty is not the default
}

TEST_F(IniReaderTest, LinesEndAtCarriageReturnLineFeedOrBoth) {
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        catalogue("; names" + end + "[keepnames]" + end + "17=Northgate" + end + "18=Eastwatch");
        const feed::KeepNames names(folder());
        EXPECT_EQ(names.keepName("17"), "Northgate") << testing::PrintToString(end);
        EXPECT_EQ(names.keepName("18"), "Eastwatch") << testing::PrintToString(end);
    }
}

TEST_F(IniReaderTest, MissingFileGivesTheDefault) {
    const feed::KeepNames names(folder() + "/nowhere");
    EXPECT_EQ(names.keepName("0"), "UNKNOWN");
}

TEST_F(IniReaderTest, ACatalogueThatIsNoRegularFileGivesTheDefault) {
    // A FIFO nobody writes to must not hold the lookup up; a device and a folder are no catalogue either.
    ASSERT_EQ(::mkfifo((folder() + "/fifo.ini").c_str(), 0600), 0);
    EXPECT_EQ(feed::readIniString("keepnames", "1", "UNKNOWN", folder() + "/fifo.ini", 256), "UNKNOWN");
    EXPECT_EQ(feed::readIniString("keepnames", "1", "UNKNOWN", "/dev/zero", 256), "UNKNOWN");
    EXPECT_EQ(feed::readIniString("keepnames", "1", "UNKNOWN", folder(), 256), "UNKNOWN");
}

TEST_F(IniReaderTest, KeysIgnoreCaseAndValuesAreCutToTheBuffer) {
    const std::string path = catalogue("[keepnames]\nAlpha=" + std::string(300, 'x') + "\n");
    EXPECT_EQ(feed::readIniString("KeepNames", "ALPHA", "d", path, 256), std::string(255, 'x'));
    EXPECT_EQ(feed::readIniString("keepnames", "alpha", "d", path, 4), "xxx");
    EXPECT_EQ(feed::readIniString("keepnames", "beta", "default", path, 4), "def");
}

TEST_F(IniReaderTest, EditsTakeEffectAtTheNextLookup) {
    catalogue("[keepnames]\n1=Old\n");
    const feed::KeepNames names(folder());
    EXPECT_EQ(names.keepName("1"), "Old");
    catalogue("[keepnames]\n1=New\n");
    EXPECT_EQ(names.keepName("1"), "New");
}

}  // namespace
