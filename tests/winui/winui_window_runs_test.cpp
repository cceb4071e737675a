// Whole encryption and decryption runs clicked through the real Win32 window,
// with the dialogs answered in advance and real files (Chinese names and
// blanks included) in a temporary folder; Esc from wherever the focus is;
// files dropped on the window. The rules of the runs are tested in
// tests/batch.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <array>

#include "batch/form_layout.h"
#include "batch/language_tables.h"
#include "codec/file_operations.h"
#include "codec/sealed_writer.h"
#include "runtime/paths.h"
#include "runtime/utf16.h"
#include "tests/support/sealed_files.h"
#include "tests/winui/window_fixture.h"

namespace imgcrypt::winui::test {
namespace {

using form::Id;

// What the window looked like while a box was up.
struct Snapshot {
    ScriptedDialogs::Kind kind;
    int clientHeight;
    std::string progressLabel;
    bool openEnabled, encryptEnabled, decryptEnabled, fileOpenEnabled, languageEnabled,
        cancelEnabled;
};

class RunFixture : public WindowFixture {
  public:
    explicit RunFixture(bool english) : WindowFixture(english ? "en\r\n" : "ch\r\n") {
        dialogs().SetObserver([this](const ScriptedDialogs::Record& r) {
            snapshots.push_back({r.kind, ClientHeight(hwnd()), Text(Id::lbprogress),
                                 Enabled(Id::btnopen), Enabled(Id::btnenc), Enabled(Id::btndec),
                                 MenuItemEnabled(Id::N2),
                                 MenuItemEnabled(Id::men) && MenuItemEnabled(Id::mch),
                                 Enabled(Id::btncancel)});
        });
    }
    // Three sources of different sizes: a Chinese name, letter case, a blank.
    std::vector<std::string> ThreeSources() {
        return MakeSources({"照片.jpg", "B.PNG", "c d.gif"});
    }
    void SetOptions(int suffixMode, int encryptionClass) {
        Click(form::ControlOf(Id::rgsuffix).items[static_cast<std::size_t>(suffixMode)].id);
        Click(form::ControlOf(Id::gbencClass).items[static_cast<std::size_t>(encryptionClass)].id);
    }
    void ExpectAtRest() {
        EXPECT_EQ(ClientHeight(hwnd()), form::ClientHeightForOuter(form::kRestHeight));
        EXPECT_EQ(SendMessageW(Control(Id::ProgressBar1), PBM_GETPOS, 0, 0), 0);
        EXPECT_TRUE(Enabled(Id::btnopen));
        EXPECT_TRUE(Enabled(Id::btnenc));
        EXPECT_TRUE(MenuItemEnabled(Id::N2));
        EXPECT_TRUE(MenuItemEnabled(Id::mch));
        EXPECT_TRUE(MenuItemEnabled(Id::men));
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
    EXPECT_EQ(f.Text(Id::edtdir), f.photos());

    // --- Encrypt ---
    f.dialogs().QueueAnswer(true);
    f.snapshots.clear();
    f.Click(Id::btnenc);

    EXPECT_EQ(f.dialogs().unanswered(), 0);
    ASSERT_EQ(f.snapshots.size(), 1u);
    const Snapshot& atEnd = f.snapshots.front();
    EXPECT_EQ(atEnd.kind, ScriptedDialogs::Kind::Confirm);
    EXPECT_EQ(atEnd.clientHeight, form::ClientHeightForOuter(form::kRunHeight));
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
    EXPECT_EQ(f.Text(Id::lbprogress), "3/3");
    EXPECT_TRUE(f.Enabled(Id::btndec));

    // The containers carry the class chosen in the window.
    std::vector<std::string> containers;
    for (const std::string& source : sources) {
        containers.push_back(
            EncryptedOutputPath(source, t.messages.dirEncrypted, suffixMode == 1 ? "E" : ""));
        EXPECT_EQ(containers.back().rfind(encryptedDir + "\\", 0), 0u) << containers.back();
        const char* const marker[] = {"****\r\n", "@@@@\r\n", "####\r\n"};
        EXPECT_TRUE(ReadBytes(containers.back()).ends_with(marker[encryptionClass]))
            << containers.back();
        EXPECT_EQ(ReadBytes(containers.back()).starts_with("IMGCRYPT-SEALED-1\r\n"),
                  encryptionClass == 2);
    }

    // --- Decrypt the containers ---
    f.Select(containers);
    f.dialogs().QueueAnswer(true);
    f.snapshots.clear();
    f.Click(Id::btndec);
    EXPECT_EQ(f.dialogs().unanswered(), 0);
    ASSERT_EQ(f.snapshots.size(), 1u);
    EXPECT_EQ(f.snapshots.front().clientHeight, form::ClientHeightForOuter(form::kRunHeight));
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

std::string RoundTripName(const std::tuple<bool, int, int>& options) {
    static constexpr std::array<const char*, 3> kClasses{"Standard", "HighLevel", "Sealed"};
    return std::string(std::get<0>(options) ? "English" : "Chinese") +
           kClasses.at(static_cast<std::size_t>(std::get<2>(options)));
}

INSTANTIATE_TEST_SUITE_P(Options, RoundTrip,
                         ::testing::Values(std::tuple{true, 0, 0}, std::tuple{false, 1, 1},
                                           std::tuple{false, 0, 2}),
                         [](const auto& info) { return RoundTripName(info.param); });

// What the window shows for sealed files it refuses: a damaged one gets its
// message and nothing is written; ten wrong passwords lock Decrypt.
TEST(WindowRuns, SealedRefusals) {
    RunFixture f(true);
    const SealingKey key("pa$$w0rd", imgcrypt::test::kQuickCost);
    const std::string container = MakeSealedFile(std::string(200'000, 'x'), key, DrawFileNonce());
    const std::string sealed = f.photos() + "s.jpg";
    const std::string tampered = f.photos() + "t.jpg";
    WriteBytes(sealed, container);
    WriteBytes(tampered, imgcrypt::test::Tampered(container));

    f.TypePassword("pa$$w0rd");
    f.Select({tampered});
    f.dialogs().ClearRecords();
    f.Click(Id::btndec);
    ASSERT_EQ(f.dialogs().records().size(), 1u);
    EXPECT_EQ(f.dialogs().records().back().kind, ScriptedDialogs::Kind::Error);
    EXPECT_EQ(f.dialogs().records().back().text,
              std::string(EnglishTable().sealed.damaged) + "t.jpg");
    EXPECT_TRUE(imgcrypt::test::Entries(f.photos() + "decrypted").empty());
    f.ExpectAtRest();

    f.TypePassword("wrong12");
    f.Select({sealed});
    f.dialogs().ClearRecords();
    for (int i = 0; i < 10; ++i) f.Click(Id::btndec);
    ASSERT_EQ(f.dialogs().records().size(), 11u);
    EXPECT_EQ(f.dialogs().records()[9].text, EnglishTable().messages.msgWrongPassword);
    EXPECT_EQ(f.dialogs().records()[10].text, EnglishTable().messages.msgTenTries);
    EXPECT_FALSE(f.Enabled(Id::btndec));
    EXPECT_TRUE(f.Enabled(Id::btnenc));
    EXPECT_TRUE(imgcrypt::test::Entries(f.photos() + "decrypted").empty());
}

class EscapeCase : public ::testing::TestWithParam<Id> {};

// The dialog manager turns Esc into Cancel wherever the focus is.
TEST_P(EscapeCase, StopsTheRunAfterTheCurrentFile) {
    RunFixture f(true);
    f.window().Show(SW_SHOWNORMAL);
    f.TypePassword("secret");
    f.Select(f.ThreeSources());
    // Esc waits in the queue; the run meets it between files.
    SetFocus(f.Control(GetParam()));
    PostMessageW(f.Control(GetParam()), WM_KEYDOWN, VK_ESCAPE, 0);
    f.Click(Id::btnenc);
    EXPECT_EQ(f.dialogs().records().back().text, EnglishTable().messages.msgCanceled);
    EXPECT_EQ(f.Text(Id::lbprogress), "1/3");
}

INSTANTIATE_TEST_SUITE_P(FocusOn, EscapeCase,
                         ::testing::Values(Id::edtEnpass, Id::edtdir, Id::rgsuffixItem0,
                                           Id::btncancel),
                         [](const auto& info) { return std::to_string(form::IndexOf(info.param)); });

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
    EXPECT_EQ(f.Text(Id::edtdir), f.photos());
    f.TypePassword("secret");
    f.dialogs().QueueAnswer(false);
    f.Click(Id::btnenc);
    EXPECT_EQ(f.Text(Id::lbprogress), "2/2");
    EXPECT_FALSE(ReadBytes(f.photos() + "encrypted\\照片.jpg").empty());
    EXPECT_TRUE(ReadBytes(f.photos() + "encrypted\\B.PNG").empty());
}

}  // namespace
}  // namespace imgcrypt::winui::test
