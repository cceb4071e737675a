// Whole encryption and decryption runs clicked through the real Win32 window,
// with the dialogs answered in advance and real files (Chinese names and
// blanks included) in a temporary folder.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "batch/language_tables.h"
#include "codec/container.h"
#include "codec/file_operations.h"
#include "runtime/generator.h"
#include "runtime/paths.h"
#include "runtime/utf16.h"
#include "tests/support/container_bytes.h"
#include "tests/winui/window_fixture.h"
#include "winui/layout.h"

namespace imgcrypt::winui::test {
namespace {

// What the window looked like while a box was up.
struct Snapshot {
    Dialogs::Kind kind;
    int outerHeight;
    std::string progressLabel;
    bool openEnabled, encryptEnabled, decryptEnabled, fileOpenEnabled, languageEnabled,
        cancelEnabled;
};

class RunFixture : public WindowFixture {
  public:
    explicit RunFixture(bool english) : WindowFixture(english ? "en\r\n" : "ch\r\n") {
        dialogs().SetObserver([this](const Dialogs::Record& r) {
            snapshots.push_back(
                {r.kind, OuterHeight(hwnd()), Text(ids::lbprogress), Enabled(ids::btnopen),
                 Enabled(ids::btnenc), Enabled(ids::btndec), MenuItemEnabled(ids::N2),
                 MenuItemEnabled(ids::men) && MenuItemEnabled(ids::mch), Enabled(ids::btncancel)});
        });
    }
    // Three sources of different sizes: a Chinese name, letter case, a blank.
    std::vector<std::string> ThreeSources() {
        return MakeSources({"照片.jpg", "B.PNG", "c d.gif"});
    }
    void SetOptions(int suffixMode, int encryptionClass) {
        SendMessageW(Control(suffixMode == 1 ? ids::rgsuffixItem1 : ids::rgsuffixItem0), BM_CLICK,
                     0, 0);
        SendMessageW(Control(encryptionClass == 1 ? ids::gbencClassItem1 : ids::gbencClassItem0),
                     BM_CLICK, 0, 0);
    }
    void ExpectAtRest() {
        EXPECT_EQ(OuterHeight(hwnd()), kRestHeight);
        EXPECT_EQ(SendMessageW(Control(ids::ProgressBar1), PBM_GETPOS, 0, 0), 0);
        EXPECT_TRUE(Enabled(ids::btnopen));
        EXPECT_TRUE(Enabled(ids::btnenc));
        EXPECT_TRUE(MenuItemEnabled(ids::N2));
        EXPECT_TRUE(MenuItemEnabled(ids::mch));
        EXPECT_TRUE(MenuItemEnabled(ids::men));
    }

    std::vector<Snapshot> snapshots;
};

class RoundTrip : public ::testing::TestWithParam<std::tuple<bool, int, int>> {};

TEST_P(RoundTrip, ContainersAreTheCodecsAndFilesComeBackByteForByte) {
    const auto [english, suffixMode, encryptionClass] = GetParam();
    const LanguageTable& t = LanguageTableFor(english);
    RunFixture f(english);
    f.window().Show(SW_SHOWNORMAL);
    const std::vector<std::string> sources = f.ThreeSources();
    f.SetOptions(suffixMode, encryptionClass);
    EXPECT_EQ(f.window().SuffixMode(), suffixMode);
    EXPECT_EQ(f.window().EncryptionClassIndex(), encryptionClass);
    f.TypePassword("pa$$w0rd");
    f.Select(sources);
    EXPECT_EQ(f.Text(ids::edtdir), f.photos());

    // --- Encrypt ---
    const std::uint32_t generatorBefore = GeneratorState();
    f.dialogs().QueueAnswer(true);
    f.snapshots.clear();
    f.Click(ids::btnenc);

    EXPECT_EQ(f.dialogs().unanswered(), 0);
    ASSERT_EQ(f.snapshots.size(), 1u);
    const Snapshot& atEnd = f.snapshots.front();
    EXPECT_EQ(atEnd.kind, Dialogs::Kind::Confirm);
    EXPECT_EQ(atEnd.outerHeight, kRunHeight);
    EXPECT_EQ(atEnd.progressLabel, "3/3");
    EXPECT_FALSE(atEnd.openEnabled || atEnd.encryptEnabled || atEnd.decryptEnabled);
    EXPECT_FALSE(atEnd.fileOpenEnabled || atEnd.languageEnabled);
    EXPECT_TRUE(atEnd.cancelEnabled);
    const std::string encryptedDir = f.photos() + std::string(t.messages.dirEncrypted);
    EXPECT_EQ(f.dialogs().records().back().text,
              "3" + std::string(t.messages.msgEncryptDone) + "\r" + encryptedDir);
    ASSERT_EQ(f.opened().size(), 1u);
    EXPECT_EQ(f.opened().back(), encryptedDir + "\\");
    f.ExpectAtRest();
    EXPECT_EQ(f.Text(ids::lbprogress), "3/3");
    EXPECT_TRUE(f.Enabled(ids::btndec));

    // The containers are exactly what the codec writes from the same
    // generator state.
    SetGeneratorState(generatorBefore);
    std::vector<std::string> containers;
    for (const std::string& source : sources) {
        const std::string expected = imgcrypt::test::MakeContainerFile(
            ReadBytes(source), "pa$$w0rd", static_cast<EncryptionClass>(encryptionClass));
        containers.push_back(
            EncryptedOutputPath(source, t.messages.dirEncrypted, suffixMode == 1 ? "E" : ""));
        EXPECT_EQ(containers.back().rfind(encryptedDir + "\\", 0), 0u) << containers.back();
        EXPECT_EQ(ReadBytes(containers.back()), expected) << containers.back();
    }

    // --- Decrypt the containers ---
    f.Select(containers);
    f.dialogs().QueueAnswer(true);
    f.snapshots.clear();
    f.Click(ids::btndec);
    EXPECT_EQ(f.dialogs().unanswered(), 0);
    ASSERT_EQ(f.snapshots.size(), 1u);
    EXPECT_EQ(f.snapshots.front().outerHeight, kRunHeight);
    EXPECT_EQ(f.snapshots.front().progressLabel, "3/3");
    EXPECT_FALSE(f.snapshots.front().decryptEnabled);
    const std::string decryptedDir = encryptedDir + "\\" + std::string(t.messages.dirDecrypted);
    EXPECT_EQ(f.opened().back(), decryptedDir + "\\");
    f.ExpectAtRest();
    for (const std::string& source : sources) {
        const std::string name = PathName(source);
        EXPECT_EQ(ReadBytes(decryptedDir + "\\" + name), ReadBytes(source)) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Options, RoundTrip,
                         ::testing::Values(std::tuple{true, 0, 0}, std::tuple{false, 1, 1}),
                         [](const auto& info) {
                             return std::get<0>(info.param) ? "EnglishSameNameStandard"
                                                            : "ChineseEAppendedHighLevel";
                         });

class EscapeCase : public ::testing::TestWithParam<int> {};

TEST_P(EscapeCase, StopsTheRunAfterTheCurrentFile) {
    RunFixture f(true);
    f.window().Show(SW_SHOWNORMAL);
    f.TypePassword("secret");
    f.Select(f.ThreeSources());
    // Esc waits in the queue; the run meets it between files.
    SetFocus(f.Control(GetParam()));
    PostMessageW(f.Control(GetParam()), WM_KEYDOWN, VK_ESCAPE, 0);
    f.Click(ids::btnenc);
    const auto& shown = f.dialogs().records();
    ASSERT_EQ(shown.size(), 2u);  // open dialog, then the cancel message
    EXPECT_EQ(shown.back().kind, Dialogs::Kind::Message);
    EXPECT_EQ(shown.back().text, EnglishTable().messages.msgCanceled);
    EXPECT_EQ(f.Text(ids::lbprogress), "1/3");
    EXPECT_EQ(OuterHeight(f.hwnd()), kRestHeight);
    EXPECT_TRUE(f.Enabled(ids::btnenc));
    EXPECT_TRUE(f.opened().empty());
    int written = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(FsPath(f.photos() + "encrypted"))) {
        written += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(written, 1);
}

INSTANTIATE_TEST_SUITE_P(FocusOn, EscapeCase,
                         ::testing::Values(ids::edtEnpass, ids::edtdir, ids::rgsuffixItem0,
                                           ids::btncancel));

// What Explorer hands a window that accepts dropped files.
HDROP DropOf(const std::vector<std::string>& paths) {
    std::wstring list;
    for (const std::string& path : paths) list += Utf16FromUtf8(path) + L'\0';
    list += L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST(WindowRuns, DroppedFilesAreTheSelectionTheRunWorksOn) {
    RunFixture f(true);
    const std::vector<std::string> sources = f.ThreeSources();
    // The folder itself is left out; the files keep the order dropped.
    SendMessageW(f.hwnd(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(DropOf({sources[2], f.photos(), sources[0]})), 0);
    EXPECT_EQ(f.Text(ids::edtdir), f.photos());
    f.TypePassword("secret");
    f.dialogs().QueueAnswer(false);
    f.Click(ids::btnenc);
    EXPECT_EQ(f.Text(ids::lbprogress), "2/2");
    EXPECT_FALSE(ReadBytes(f.photos() + "encrypted\\照片.jpg").empty());
    EXPECT_TRUE(ReadBytes(f.photos() + "encrypted\\B.PNG").empty());
}

TEST(WindowRuns, ClosingDuringARunCancelsItThenCloses) {
    RunFixture f(true);
    f.window().Show(SW_SHOWNORMAL);
    f.TypePassword("secret");
    f.Select(f.ThreeSources());
    PostMessageW(f.hwnd(), WM_CLOSE, 0, 0);
    f.Click(ids::btnenc);
    EXPECT_EQ(f.dialogs().records().back().text, EnglishTable().messages.msgCanceled);
    EXPECT_EQ(f.Text(ids::lbprogress), "1/3");
    ASSERT_NE(f.hwnd(), nullptr);  // not while the run went on
    const HWND window = f.hwnd();
    f.Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(f.hwnd(), nullptr);
}

TEST(WindowRuns, TenWrongPasswordsDisableDecryptForGood) {
    RunFixture f(true);
    const auto source = f.MakeSources({"only.jpg"});
    f.TypePassword("right1");
    f.Select(source);
    f.dialogs().QueueAnswer(false);  // do not open the folder
    f.Click(ids::btnenc);
    f.Select({f.photos() + "encrypted\\only.jpg"});

    f.TypePassword("wrong1");
    for (int press = 1; press <= 10; ++press) {
        ASSERT_TRUE(f.Enabled(ids::btndec)) << press;
        f.dialogs().ClearRecords();
        f.Click(ids::btndec);
        ASSERT_FALSE(f.dialogs().records().empty());
        EXPECT_EQ(f.dialogs().records().front().text, EnglishTable().messages.msgWrongPassword);
    }
    EXPECT_FALSE(f.Enabled(ids::btndec));
    EXPECT_EQ(f.dialogs().records().back().text, EnglishTable().messages.msgTenTries);

    // A later encryption run does not bring the button back.
    f.Select(source);
    f.dialogs().QueueAnswer(false);
    f.Click(ids::btnenc);
    EXPECT_TRUE(f.Enabled(ids::btnenc));
    EXPECT_FALSE(f.Enabled(ids::btndec));
    EXPECT_EQ(f.dialogs().unanswered(), 0);
}

TEST(WindowRuns, AnErrorInARunIsShownAndTheWindowReturnsToRest) {
    RunFixture f(true);
    const auto source = f.MakeSources({"one.jpg"});
    f.TypePassword("secret");
    f.Select(source);
    f.dialogs().QueueAnswer(false);
    f.Click(ids::btnenc);
    // The second container vanishes between selection and run.
    f.Select({f.photos() + "encrypted\\one.jpg", f.photos() + "encrypted\\gone.jpg"});
    f.dialogs().ClearRecords();
    f.Click(ids::btndec);
    const auto& shown = f.dialogs().records();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.front().kind, Dialogs::Kind::Error);
    EXPECT_EQ(shown.front().caption, EnglishTable().applicationTitle);
    EXPECT_FALSE(shown.front().text.empty());
    f.ExpectAtRest();
    EXPECT_TRUE(f.Enabled(ids::btndec));
}

}  // namespace
}  // namespace imgcrypt::winui::test
