#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>

#include "feed/IniReader.h"
#include "feed/KeepNames.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::WriteFile;

class IniReaderTest : public ::testing::Test {
protected:
    std::string Folder() const { return m_dir.path().toStdString(); }
    std::string Catalogue(const std::string& content) {
        WriteFile(Folder() + "/keepnames.ini", content);
        return Folder() + "/keepnames.ini";
    }
    QTemporaryDir m_dir;
};

TEST_F(IniReaderTest, KeepNameFindsListedIdsAndDefaultsTheRest) {
    Catalogue("; frontier names\n[other]\n17=Wrong\n[KEEPNAMES]\n  17 = Northgate  \n19=\"Quoted Hold\"\n20=\n");
    const feed::KeepNames names(Folder());
    EXPECT_EQ(names.KeepName("17"), "Northgate");
    EXPECT_EQ(names.KeepName("18"), "UNKNOWN");
    EXPECT_EQ(names.KeepName("19"), "Quoted Hold");
    EXPECT_EQ(names.KeepName("20"), "");  // present but empty is not the default
}

TEST_F(IniReaderTest, LinesEndAtCarriageReturnLineFeedOrBoth) {
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        Catalogue("; names" + end + "[keepnames]" + end + "17=Northgate" + end + "18=Eastwatch");
        const feed::KeepNames names(Folder());
        EXPECT_EQ(names.KeepName("17"), "Northgate") << testing::PrintToString(end);
        EXPECT_EQ(names.KeepName("18"), "Eastwatch") << testing::PrintToString(end);
    }
}

TEST_F(IniReaderTest, MissingFileGivesTheDefault) {
    const feed::KeepNames names(Folder() + "/nowhere");
    EXPECT_EQ(names.KeepName("0"), "UNKNOWN");
}

TEST_F(IniReaderTest, ACatalogueThatIsNoRegularFileGivesTheDefault) {
    // A FIFO nobody writes to must not hold the lookup up; a device and a folder are no catalogue either.
    ASSERT_EQ(::mkfifo((Folder() + "/fifo.ini").c_str(), 0600), 0);
    EXPECT_EQ(feed::ReadIniString("keepnames", "1", "UNKNOWN", Folder() + "/fifo.ini", 256), "UNKNOWN");
    EXPECT_EQ(feed::ReadIniString("keepnames", "1", "UNKNOWN", "/dev/zero", 256), "UNKNOWN");
    EXPECT_EQ(feed::ReadIniString("keepnames", "1", "UNKNOWN", Folder(), 256), "UNKNOWN");
}

TEST_F(IniReaderTest, KeysIgnoreCaseAndValuesAreCutToTheBuffer) {
    const std::string path = Catalogue("[keepnames]\nAlpha=" + std::string(300, 'x') + "\n");
    EXPECT_EQ(feed::ReadIniString("KeepNames", "ALPHA", "d", path, 256), std::string(255, 'x'));
    EXPECT_EQ(feed::ReadIniString("keepnames", "alpha", "d", path, 4), "xxx");
    EXPECT_EQ(feed::ReadIniString("keepnames", "beta", "default", path, 4), "def");
}

TEST_F(IniReaderTest, EditsTakeEffectAtTheNextLookup) {
    Catalogue("[keepnames]\n1=Old\n");
    const feed::KeepNames names(Folder());
    EXPECT_EQ(names.KeepName("1"), "Old");
    Catalogue("[keepnames]\n1=New\n");
    EXPECT_EQ(names.KeepName("1"), "New");
}

}  // namespace
