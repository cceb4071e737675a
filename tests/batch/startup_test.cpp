// Start-up, the settings file, language switches, links and shutdown.
#include <gtest/gtest.h>

#include "batch/banner_stages.h"
#include "tests/batch/batch_fixture.h"
#include "tests/support/platform_files.h"

namespace imgcrypt {
namespace {

using test::BatchFixture;
using test::ReadBytes;

struct SettingsCase {
    const char* name;
    std::optional<std::string> content;
    bool english;
};

class StartupSettings : public BatchFixture, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(StartupSettings, OnlyAnExactFirstLineEnSelectsEnglish) {
    const SettingsCase& c = GetParam();
    Start(c.content);
    const LanguageTable& table = LanguageTableFor(c.english);
    EXPECT_EQ(port.appliedTable, &table);
    // The file is rewritten with the one line just applied.
    EXPECT_EQ(ReadBytes(locations.configPath), c.english ? "en\r\n" : "ch\r\n");
    // The banner page, and the local page shown without the site, follow
    // the language flag.
    EXPECT_EQ(port.Of("banner"),
              std::vector<std::string>{c.english ? "http://www.site.test/ien/ead.htm"
                                                 : "http://www.site.test/ien/ad.htm"});
    EXPECT_EQ(port.bannerFallback, appDir + (c.english ? "help/ebanner.htm" : "help/banner.htm"));
    EXPECT_TRUE(port.Of("error").empty());
    EXPECT_EQ(port.height, form::kRestHeight);
    ExpectNothingSelectedIn(table);
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
// still gets a complete Chinese state and its banner: the runs write into
// the Chinese output folders, never into the source folder itself.
class UnreadableSettings : public BatchFixture {
  protected:
    void ExpectChineseAfterReadFailure() {
        ASSERT_EQ(port.Of("error").size(), 1u);
        EXPECT_EQ(port.appliedTable, &ChineseTable());
        EXPECT_EQ(port.Of("banner"), std::vector<std::string>{"http://www.site.test/ien/ad.htm"});
        ExpectNothingSelectedIn(ChineseTable());

        const MessageSlots& ch = ChineseTable().messages;
        Select({MakeFile("a.jpg", "aaaa")});
        port.password = "secret1";
        logic->btnencClick();
        const std::string container = InPhotos(std::string(ch.dirEncrypted) + "/a.jpg");
        EXPECT_TRUE(test::Exists(container));
        Select({container});
        logic->btndecClick();
        EXPECT_EQ(ReadBytes(InPhotos(std::string(ch.dirEncrypted) + "/" +
                                     std::string(ch.dirDecrypted) + "/a.jpg")),
                  "aaaa");
    }
};

TEST_F(UnreadableSettings, SettingsFileThatIsAFolderIsReportedNotReplaced) {
    test::MakeFolders(locations.configPath);
    Start(std::nullopt);
    ExpectChineseAfterReadFailure();
    EXPECT_TRUE(test::IsFolder(locations.configPath));
}

TEST_F(UnreadableSettings, SettingsFileLockedByAnotherProgramIsReportedNotRewritten) {
    test::WriteBytes(locations.configPath, "en\r\n");
    {
        const test::FileHeldOpenForWriting otherProgram(locations.configPath);
        Start(std::nullopt);
    }
    ExpectChineseAfterReadFailure();
    EXPECT_EQ(ReadBytes(locations.configPath), "en\r\n");
}

TEST_F(BatchFixture, UnwritableSettingsFileStillLeavesAUsableWindow) {
    locations.configPath = temp_ / "no-such-folder/config.db";
    Start(std::nullopt);
    ASSERT_EQ(port.Of("error").size(), 1u);
    EXPECT_EQ(port.appliedTable, &ChineseTable());
    EXPECT_EQ(port.Of("banner"), std::vector<std::string>{"http://www.site.test/ien/ad.htm"});
    ExpectNothingSelectedIn(ChineseTable());
    // A later switch reports the same failure and keeps the new texts and
    // the new language flag.
    port.ClearCalls();
    logic->menClick();
    EXPECT_EQ(port.Of("error").size(), 1u);
    EXPECT_EQ(port.appliedTable, &EnglishTable());
    logic->N7Click();
    EXPECT_EQ(port.Of("open-path"), std::vector<std::string>{appDir + "help/ehelp.htm"});
}

// Plain and error boxes carry the application title of the language in
// force; an error before the first switch, the provisional one.
TEST_F(BatchFixture, BoxesCarryTheApplicationTitleOfTheLanguage) {
    test::MakeFolders(locations.configPath);  // unreadable: an error before any text
    Start(std::nullopt);
    ASSERT_EQ(port.Of("error").size(), 1u);
    EXPECT_EQ(port.boxCaption, kProvisionalApplicationTitle);
    logic->btnencClick();
    EXPECT_EQ(port.boxCaption, ChineseTable().applicationTitle);
    logic->menClick();  // the settings file cannot be written: an error box, in English
    EXPECT_EQ(port.boxCaption, EnglishTable().applicationTitle);
}

TEST_F(BatchFixture, TextsAreAppliedOnceByTheCreationHandler) {
    logic = std::make_unique<MainWindowLogic>(port, port, locations);
    EXPECT_TRUE(port.calls.empty());
    logic->FormCreate();
    EXPECT_EQ(port.appliedTable, &ChineseTable());
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
    EXPECT_EQ(ReadBytes(locations.configPath), "en\r\n");
    EXPECT_EQ(port.Of("language"),
              std::vector<std::string>{std::string(EnglishTable().windowCaption) +
                                       " / About www.site.test"});
    EXPECT_TRUE(port.Of("folder-box").empty());
    EXPECT_EQ(port.folderBox, photos);
    // The banner keeps the page of the start-up language.
    EXPECT_TRUE(port.Of("banner").empty());
    // The selection is whole and the run speaks English.
    logic->btnencClick();
    EXPECT_EQ(port.Of("confirm"),
              std::vector<std::string>{"2 done, will open the encrypted folder: \r" + photos +
                                       "encrypted"});
    EXPECT_TRUE(test::Exists(InPhotos("encrypted/b.jpgE")));

    // The same language again applies the texts again and rewrites the file.
    test::WriteBytes(locations.configPath, "en\r\nrest\r\n");
    logic->menClick();
    EXPECT_EQ(ReadBytes(locations.configPath), "en\r\n");

    logic->mchClick();
    EXPECT_EQ(ReadBytes(locations.configPath), "ch\r\n");
    EXPECT_EQ(port.appliedTable, &ChineseTable());
    port.ClearCalls();
    logic->btnencClick();
    EXPECT_EQ(port.Of("label"), (std::vector<std::string>{"1/2", "2/2"}));
    EXPECT_TRUE(
        test::Exists(InPhotos(std::string(ChineseTable().messages.dirEncrypted) + "/b.jpgE")));
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

// Each stage is tried once: a failing page never loops.
TEST(BannerStages, TheSitesPageThenTheLocalPageOnceThenBlank) {
    EXPECT_EQ(StageAfterFailure(BannerStage::Page, true), BannerStage::Fallback);
    EXPECT_EQ(StageAfterFailure(BannerStage::Page, false), BannerStage::Blank);
    EXPECT_EQ(StageAfterFailure(BannerStage::Fallback, true), BannerStage::Blank);
    EXPECT_EQ(StageAfterFailure(BannerStage::Blank, true), std::nullopt);
}

// The ids both windows hand on for their buttons and menu commands.
TEST_F(BatchFixture, EveryCommandReachesTheHandlerOfItsName) {
    StartIn(false);  // Chinese: the two "no image" messages differ
    const MessageSlots& ch = ChineseTable().messages;
    using form::Id;
    struct Row {
        Id id;
        std::vector<std::string> calls;  // what the handler did, range and position left out
    };
    const std::string dialog = "dialog";
    const std::string site = "open-url: http://www.site.test/ien/";
    const Row rows[] = {
        {Id::btnopen, {dialog}},
        {Id::N2, {dialog}},
        {Id::btnenc, {"message: " + std::string(ch.msgNoImageEncrypt), dialog}},
        {Id::btndec, {"message: " + std::string(ch.msgNoImageDecrypt), dialog}},
        {Id::btncancel, {}},  // sets the flag a run polls (the run tests)
        {Id::N5, {"close: "}},
        {Id::N7, {"open-path: " + appDir + "help/help.htm"}},
        {Id::N8, {site + "help.htm"}},
        {Id::nabout, {site + "about.htm"}},
        {Id::ndonate, {site + "donate.htm"}},
        {Id::men, {"language: " + std::string(EnglishTable().windowCaption) + " / About www.site.test"}},
        {Id::mch, {"language: " + std::string(ChineseTable().windowCaption) + " / " +
                   std::string(ChineseTable().naboutPrefix) + "www.site.test"}},
        {Id::N4, {}},
        {Id::rgsuffixItem1, {}},
        {Id::edtdir, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(form::IndexOf(row.id));
        port.ClearCalls();
        logic->Command(row.id);
        std::vector<std::string> calls;
        for (const std::string& call : port.calls) {
            if (call.rfind("dialog: ", 0) == 0) {
                calls.push_back(dialog);
            } else if (call.rfind("range: ", 0) != 0 && call.rfind("position: ", 0) != 0) {
                calls.push_back(call);
            }
        }
        EXPECT_EQ(calls, row.calls);
    }
}

TEST_F(BatchFixture, CloseReleasesTheSelection) {
    StartIn(false);
    logic->FormClose();  // nothing selected yet
    Select({MakeFile("a.jpg", "a")});
    logic->FormClose();
    EXPECT_TRUE(port.Of("error").empty());
    ExpectNothingSelectedIn(ChineseTable());
}

}  // namespace
}  // namespace imgcrypt
