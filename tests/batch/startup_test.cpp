// Start-up, the settings file, language switches, links and shutdown.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "tests/batch/batch_fixture.h"

namespace imgcrypt {
namespace {

using testing::BatchFixture;
using testing::ReadBytes;

struct SettingsCase {
    const char* name;
    std::optional<std::string> content;
    bool english;
};

class StartupSettings : public BatchFixture, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(StartupSettings, OnlyAnExactFirstLineEnSelectsEnglish) {
    const SettingsCase& c = GetParam();
    Start(c.content);
    EXPECT_EQ(logic->languageEnglish(), c.english);
    const LanguageTable& table = LanguageTableFor(c.english);
    EXPECT_EQ(logic->appliedTable(), &table);
    EXPECT_EQ(port.appliedTable, &table);
    EXPECT_EQ(logic->slots().dirEncrypted, table.slots.dirEncrypted);
    EXPECT_EQ(logic->openDialog().filter, table.dialogFilter);
    EXPECT_EQ(logic->applicationTitle(), table.applicationTitle);
    // The file is rewritten with the one line just applied.
    EXPECT_EQ(ReadBytes(locations.configPath), c.english ? "en\r\n" : "ch\r\n");
    EXPECT_EQ(port.Of("banner"),
              std::vector<std::string>{c.english ? "http://www.site.test/ien/ead.htm"
                                                 : "http://www.site.test/ien/ad.htm"});
    EXPECT_TRUE(port.Of("error").empty());
    EXPECT_EQ(port.height, kRestHeight);
    EXPECT_EQ(logic->selectionCount(), 0);
    EXPECT_EQ(logic->wrongPasswordCount(), 0);
    EXPECT_TRUE(logic->passwordMatch());
}

INSTANTIATE_TEST_SUITE_P(ConfigDb, StartupSettings,
                         ::testing::Values(SettingsCase{"EnWithLineBreak", "en\r\n", true},
                                           SettingsCase{"EnWithoutLineBreak", "en", true},
                                           SettingsCase{"EnThenMoreLines", "en\nch\n", true},
                                           SettingsCase{"UpperCase", "EN\r\n", false},
                                           SettingsCase{"TrailingBlank", "en \r\n", false},
                                           SettingsCase{"English", "english\r\n", false},
                                           SettingsCase{"Ch", "ch\r\n", false},
                                           SettingsCase{"Empty", "", false},
                                           SettingsCase{"Missing", std::nullopt, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// An unreadable settings file is reported, left as it is, and the window
// still gets a complete Chinese state and its banner.
void ExpectChineseAfterReadFailure(const testing::FakeWindowPort& port,
                                   const MainWindowLogic& logic) {
    ASSERT_EQ(port.Of("error").size(), 1u);
    EXPECT_FALSE(logic.languageEnglish());
    EXPECT_EQ(port.appliedTable, &ChineseTable());
    EXPECT_EQ(logic.slots().dirEncrypted, ChineseTable().slots.dirEncrypted);
    EXPECT_EQ(logic.slots().dirDecrypted, ChineseTable().slots.dirDecrypted);
    EXPECT_EQ(logic.openDialog().filter, ChineseTable().dialogFilter);
    EXPECT_EQ(port.Of("banner"), std::vector<std::string>{"http://www.site.test/ien/ad.htm"});
}

TEST_F(BatchFixture, SettingsFileThatIsAFolderIsReportedNotReplaced) {
    std::filesystem::create_directory(locations.configPath);
    Start(std::nullopt);
    ExpectChineseAfterReadFailure(port, *logic);
    EXPECT_TRUE(std::filesystem::is_directory(locations.configPath));
}

TEST_F(BatchFixture, SettingsFileLockedByAnotherProgramIsReportedNotRewritten) {
    testing::WriteBytes(locations.configPath, "en\r\n");
    const int fd = ::open(locations.configPath.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    Start(std::nullopt);
    ::close(fd);
    ExpectChineseAfterReadFailure(port, *logic);
    EXPECT_EQ(ReadBytes(locations.configPath), "en\r\n");
}

TEST_F(BatchFixture, UnwritableSettingsFileStillLeavesAUsableWindow) {
    locations.configPath = root_ + "/no-such-folder/config.db";
    Start(std::nullopt);
    ASSERT_EQ(port.Of("error").size(), 1u);
    EXPECT_EQ(port.appliedTable, &ChineseTable());
    EXPECT_EQ(logic->slots().dirEncrypted, ChineseTable().slots.dirEncrypted);
    EXPECT_EQ(port.Of("banner"), std::vector<std::string>{"http://www.site.test/ien/ad.htm"});
    // A later switch reports the same failure and keeps the new texts.
    port.ClearCalls();
    logic->menClick();
    EXPECT_EQ(port.Of("error").size(), 1u);
    EXPECT_TRUE(logic->languageEnglish());
    EXPECT_EQ(port.appliedTable, &EnglishTable());
}

TEST_F(BatchFixture, TitlesBeforeAndAfterTheFirstSwitch) {
    logic = std::make_unique<MainWindowLogic>(port, locations);
    EXPECT_EQ(logic->applicationTitle(), kProvisionalApplicationTitle);
    EXPECT_EQ(logic->appliedTable(), nullptr);
    logic->FormCreate();
    EXPECT_EQ(logic->applicationTitle(), ChineseTable().applicationTitle);
    EXPECT_EQ(logic->aboutItemCaption(),
              std::string(ChineseTable().naboutPrefix) + "www.site.test");
    EXPECT_EQ(port.Of("language"),
              std::vector<std::string>{std::string(ChineseTable().windowCaption) + " / " +
                                       std::string(ChineseTable().naboutPrefix) + "www.site.test"});
}

TEST_F(BatchFixture, SwitchRewritesSettingsAndKeepsSelectionAndOptions) {
    StartIn(false);
    const std::string a = MakeFile("a.jpg", "aaaa");
    const std::string b = MakeFile("b.jpg", "bbbb");
    Select({a, b});
    port.suffixMode = 1;
    port.password = "secret1";

    logic->menClick();
    EXPECT_TRUE(logic->languageEnglish());
    EXPECT_EQ(ReadBytes(locations.configPath), "en\r\n");
    EXPECT_EQ(logic->slots().msgCanceled, "Canceled!");
    EXPECT_EQ(logic->aboutItemCaption(), "About www.site.test");
    EXPECT_EQ(logic->selectionList(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(logic->selectionCount(), 2);
    EXPECT_TRUE(port.Of("folder-box").empty());
    EXPECT_EQ(port.folderBox, photos);
    // The banner keeps the page of the start-up language.
    EXPECT_TRUE(port.Of("banner").empty());

    // The same language again applies the texts again and rewrites the file.
    testing::WriteBytes(locations.configPath, "en\r\nrest\r\n");
    logic->menClick();
    EXPECT_EQ(ReadBytes(locations.configPath), "en\r\n");

    logic->mchClick();
    EXPECT_FALSE(logic->languageEnglish());
    EXPECT_EQ(ReadBytes(locations.configPath), "ch\r\n");
    EXPECT_EQ(port.appliedTable, &ChineseTable());
    EXPECT_EQ(logic->selectionCount(), 2);
}

TEST_F(BatchFixture, LinksFollowTheLanguageAtTheClick) {
    StartIn(true);
    logic->N7Click();
    logic->N8Click();
    logic->naboutClick();
    logic->ndonateClick();
    logic->mchClick();
    logic->N7Click();
    logic->N8Click();
    logic->naboutClick();
    logic->ndonateClick();
    EXPECT_EQ(port.Of("open-path"),
              (std::vector<std::string>{appDir + "help/ehelp.htm", appDir + "help/help.htm"}));
    EXPECT_EQ(port.Of("open-url"), (std::vector<std::string>{
                                       "http://www.site.test/ien/ehelp.htm",
                                       "http://www.site.test/ien/eabout.htm",
                                       "http://www.site.test/ien/edonate.htm",
                                       "http://www.site.test/ien/help.htm",
                                       "http://www.site.test/ien/about.htm",
                                       "http://www.site.test/ien/donate.htm",
                                   }));
}

TEST_F(BatchFixture, CloseReleasesTheSelection) {
    StartIn(false);
    logic->FormClose();  // nothing selected yet
    Select({MakeFile("a.jpg", "a")});
    logic->FormClose();
    EXPECT_TRUE(logic->selectionList().empty());
    EXPECT_TRUE(port.Of("error").empty());
}

}  // namespace
}  // namespace imgcrypt
