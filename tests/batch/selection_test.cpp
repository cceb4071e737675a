// Picking the files of a batch: the open dialog, drops, the command line.
#include <gtest/gtest.h>

#include <filesystem>

#include "batch/dialog_filter.h"
#include "tests/batch/batch_fixture.h"

namespace imgcrypt {
namespace {

class Selection : public test::BatchFixture {
  protected:
    // Encrypt with a good password: the run takes two files, a.jpg and b.jpg
    // of the photos folder.
    void ExpectEncryptTakesAAndB() {
        port.password = "secret1";
        port.ClearCalls();
        logic->btnencClick();
        EXPECT_EQ(port.Of("label"), (std::vector<std::string>{"1/2", "2/2"}));
        EXPECT_TRUE(test::Exists(InPhotos("encrypted/a.jpg")));
        EXPECT_TRUE(test::Exists(InPhotos("encrypted/b.jpg")));
    }
};

TEST_F(Selection, DialogSettingsCarryOverBetweenCalls) {
    StartIn(true);
    const std::string a = photos + "a.jpg";
    port.dialogResults = {{a, photos + "b.jpg"}, {}};
    logic->btnopenClick();
    port.suffixMode = 1;
    logic->N2Click();
    ASSERT_EQ(port.dialogRequests.size(), 2u);
    // First call: no initial folder; later ones start in the program's folder.
    EXPECT_EQ(port.dialogRequests[0].filterIndex, 0);
    EXPECT_EQ(port.dialogRequests[0].initialFolder, "");
    EXPECT_EQ(port.dialogRequests[0].defaultFileName, "");
    EXPECT_EQ(port.dialogRequests[0].filter, EnglishTable().dialogFilter);
    EXPECT_EQ(port.dialogRequests[1].filterIndex, 4);
    EXPECT_EQ(port.dialogRequests[1].initialFolder, temp_ / "app");
    EXPECT_EQ(port.dialogRequests[1].defaultFileName, a);
}

// What both windows' dialogs show of the filter, and the entry they open on.
TEST(DialogFilter, EntriesOfTheLanguagesFiltersAndTheEntryTheDialogOpensOn) {
    const std::vector<std::string> images = {"*.JPG", "*.GIF", "*.PNG", "*.BMP",
                                             "*.SVG", "*.PAD", "*.***E"};
    for (const bool english : {true, false}) {
        const std::vector<FilterEntry> entries = FilterEntries(LanguageTableFor(english).dialogFilter);
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[0].description,
                  english ? "JPG;GIF;PNG;BMP;SVG;PAD;TVL" : "JPG;GIF;PNG;BMP;SVG;PAD");
        EXPECT_EQ(entries[0].patterns, images);
        EXPECT_EQ(entries[1].description, english ? "All (*.*)" : "所有 (*.*)");
        EXPECT_EQ(entries[1].patterns, std::vector<std::string>{"*.*"});
    }
    const std::vector<FilterEntry> odd = FilterEntries("A| *.a ;;*.b|B");
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0].patterns, (std::vector<std::string>{"*.a", "*.b"}));
    EXPECT_TRUE(FilterEntries("").empty());

    // The logic's 0 and 4 both open on the first of two entries.
    EXPECT_EQ(OpeningFilterEntry(0, 2), 0u);
    EXPECT_EQ(OpeningFilterEntry(4, 2), 0u);
    EXPECT_EQ(OpeningFilterEntry(2, 2), 1u);
    EXPECT_EQ(OpeningFilterEntry(1, 0), 0u);
}

TEST_F(Selection, ChosenFilesReplaceTheSelectionWhole) {
    StartIn(true);
    test::MakeFolders(InPhotos("more"));
    Select({MakeFile("a.jpg", "a"), MakeFile("b.jpg", "b"), MakeFile("c.jpg", "c")});
    EXPECT_EQ(port.folderBox, photos);
    port.password = "abc";  // refused: the run shows the selection's size and stops
    logic->btnencClick();
    EXPECT_EQ(port.Of("range"), std::vector<std::string>{"0..3"});

    Select({MakeFile("more/x.png", "x")});
    EXPECT_EQ(port.folderBox, InPhotos("more/"));
    port.password = "secret1";
    logic->btnencClick();
    EXPECT_EQ(port.Of("label"), std::vector<std::string>{"1/1"});
    EXPECT_TRUE(test::Exists(InPhotos("more/encrypted/x.png")));
    EXPECT_TRUE(test::Entries(InPhotos("encrypted")).empty());
}

TEST_F(Selection, CancelledDialogKeepsTheEarlierSelection) {
    StartIn(true);
    logic->btnopenClick();  // cancelled at the very first dialog
    EXPECT_EQ(port.folderBox, "");
    ExpectNothingSelectedIn(EnglishTable());

    const std::string a = MakeFile("a.jpg", "a");
    const std::string b = MakeFile("b.jpg", "b");
    Select({a, b});
    logic->btnopenClick();  // cancelled
    EXPECT_EQ(port.folderBox, photos);
    ExpectEncryptTakesAAndB();
}

TEST_F(Selection, RunsWithoutSelectionAskForFilesAndDoNotStart) {
    StartIn(false);
    const std::string a = MakeFile("a.jpg", "aaaa");
    port.password = "secret1";
    port.dialogResults = {{a}};
    logic->btnencClick();
    EXPECT_EQ(port.Boxes(),
              std::vector<std::string>{"message: " +
                                       std::string(ChineseTable().messages.msgNoImageEncrypt)});
    EXPECT_EQ(port.Of("dialog").size(), 1u);
    // Nothing was written, no folder made, the window stayed at rest.
    EXPECT_FALSE(test::Exists(InPhotos(std::string(ChineseTable().messages.dirEncrypted))));
    EXPECT_FALSE(test::Exists(std::string(ChineseTable().messages.dirEncrypted)));
    EXPECT_TRUE(port.Of("height").empty());
    EXPECT_TRUE(port.Of("commands").empty());
    // The file chosen in that dialog is the selection of the next press.
    port.ClearCalls();
    logic->btnencClick();
    EXPECT_EQ(port.Of("label"), std::vector<std::string>{"1/1"});

    // A fresh window: Decrypt with nothing selected says so in its own words.
    port.ClearCalls();
    logic = std::make_unique<MainWindowLogic>(port, port, locations);
    logic->FormCreate();
    port.ClearCalls();
    logic->btndecClick();
    EXPECT_EQ(port.Boxes(),
              std::vector<std::string>{"message: " +
                                       std::string(ChineseTable().messages.msgNoImageDecrypt)});
    EXPECT_EQ(port.Of("dialog").size(), 1u);
}

// Files dropped on the window take the dialog's route: the same list, count,
// folder box and default name for the next dialog.
TEST_F(Selection, DroppedFilesSelectLikeTheDialogInTheOrderDropped) {
    StartIn(true);
    test::MakeFolders(InPhotos("sub"));
    const std::string a = MakeFile("a.jpg", "a");
    const std::string b = MakeFile("b.jpg", "b");
    // A folder and a vanished path are left out; the files keep their order.
    const std::vector<std::string> dropped = {b, photos + "sub", photos + "gone.jpg", a};
    EXPECT_TRUE(logic->FormDragOver(dropped));
    logic->FormDragDrop(dropped);
    EXPECT_EQ(port.Of("folder-box"), std::vector<std::string>{photos});
    EXPECT_TRUE(port.Boxes().empty());

    ExpectEncryptTakesAAndB();
    EXPECT_EQ(port.Of("range"), std::vector<std::string>{"0..2"});
    logic->btnopenClick();
    EXPECT_EQ(port.dialogRequests.back().defaultFileName, b);
}

TEST_F(Selection, DropsOfNoFileOfSeveralFoldersOrDuringARunAreRefused) {
    StartIn(true);
    test::MakeFolders(InPhotos("sub"));
    const std::string a = MakeFile("a.jpg", "a");
    const std::string b = MakeFile("b.jpg", "b");
    const std::string inSub = MakeFile("sub/c.jpg", "c");
    Select({a});
    for (const std::vector<std::string>& dropped :
         {std::vector<std::string>{a, inSub}, {photos + "sub"}, {photos + "gone.jpg"}, {}}) {
        EXPECT_FALSE(logic->FormDragOver(dropped));
        logic->FormDragDrop(dropped);
    }
    EXPECT_TRUE(port.calls.empty());

    // Mid-run the drag is refused and a drop changes nothing: the run keeps
    // its files and its output folder.
    port.password = "secret1";
    bool refused = false;
    port.onEvents = [&](int) {
        refused = !logic->FormDragOver({b});
        logic->FormDragDrop({b});
    };
    logic->btnencClick();
    EXPECT_TRUE(refused);
    EXPECT_TRUE(port.Of("folder-box").empty());
    EXPECT_FALSE(test::Exists(InPhotos("encrypted/b.jpg")));
    EXPECT_TRUE(logic->FormDragOver({b}));
}

// The current folder of a test, put back on the way out whatever fails.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::string& folder) {
        std::filesystem::current_path(test::FsPath(folder));
    }
    ~CurrentFolder() { std::filesystem::current_path(before_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    std::filesystem::path before_ = std::filesystem::current_path();
};

// What a file manager or a shell names on the window's command line takes
// the drop's route; names relative to the shell's folder become absolute,
// so the runs find the folder later whatever the current folder is then.
TEST_F(Selection, FilesOnTheCommandLineAreSelectedAsDroppedAndNothingRuns) {
    StartIn(true);
    test::MakeFolders(InPhotos("sub"));
    const std::string a = MakeFile("a.jpg", "a");
    MakeFile("b.jpg", "b");
    const std::string inSub = MakeFile("sub/c.jpg", "c");
    for (const std::vector<std::string>& named :
         {std::vector<std::string>{a, inSub}, {photos + "sub"}, {}}) {
        logic->CommandLineFiles(named);
    }
    EXPECT_TRUE(port.calls.empty());

    std::string shellFolder;
    {
        const CurrentFolder inPhotos(photos);
        shellFolder = test::Utf8(std::filesystem::current_path()) + kPathSeparator;
        logic->CommandLineFiles({"b.jpg", test::NativePath("sub/../a.jpg")});
    }
    EXPECT_EQ(port.Of("folder-box"), std::vector<std::string>{shellFolder});
    EXPECT_TRUE(port.Boxes().empty());
    EXPECT_FALSE(test::Exists(InPhotos("encrypted")));

    ExpectEncryptTakesAAndB();
    logic->btnopenClick();
    EXPECT_EQ(port.dialogRequests.back().defaultFileName, shellFolder + "b.jpg");
}

}  // namespace
}  // namespace imgcrypt
