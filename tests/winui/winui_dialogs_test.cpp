// The Win32 window's boxes and open dialog: the filter and answer forms of
// the open dialog, and the real boxes and the real open dialog, answered by a
// timer from inside their own modal loops.
#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <dlgs.h>

#include <functional>
#include <set>

#include "batch/language_tables.h"
#include "runtime/utf16.h"
#include "tests/winui/window_fixture.h"
#include "winui/dialogs.h"

namespace imgcrypt::winui::test {
namespace {

using namespace std::string_literals;

TEST(DialogFilter, BecomesTheDoubleNulForm) {
    EXPECT_EQ(DialogFilter(FilterEntries(EnglishTable().dialogFilter)),
              L"JPG;GIF;PNG;BMP;SVG;PAD;TVL\0*.JPG;*.GIF;*.PNG;*.BMP;*.SVG;*.PAD;*.***E\0"
              L"All (*.*)\0*.*\0\0"s);
    EXPECT_EQ(DialogFilter(FilterEntries(ChineseTable().dialogFilter)),
              L"JPG;GIF;PNG;BMP;SVG;PAD\0*.JPG;*.GIF;*.PNG;*.BMP;*.SVG;*.PAD;*.***E\0"
              L"所有 (*.*)\0*.*\0\0"s);
    EXPECT_TRUE(DialogFilter({}).empty());
}

TEST(PathsFromOpenAnswer, OnePathOrTheFolderThenTheNamesInOrder) {
    EXPECT_EQ(PathsFromOpenAnswer(L"C:\\photos\\a.jpg\0\0"s),
              (std::vector<std::string>{"C:\\photos\\a.jpg"}));
    EXPECT_EQ(PathsFromOpenAnswer(L"C:\\photos\0b.png\0a.jpg\0照片 1.gif\0\0"s),
              (std::vector<std::string>{"C:\\photos\\b.png", "C:\\photos\\a.jpg",
                                        "C:\\photos\\照片 1.gif"}));
    // A drive's root comes with its separator.
    EXPECT_EQ(PathsFromOpenAnswer(L"D:\\\0a.jpg\0b.jpg\0\0"s),
              (std::vector<std::string>{"D:\\a.jpg", "D:\\b.jpg"}));
    EXPECT_TRUE(PathsFromOpenAnswer(L"\0\0"s).empty());
}

// ---- Real boxes, answered from a timer inside their modal loop ----

// Called once for every new dialog window of this thread while a box is up.
std::function<void(HWND)> gAnswer;
std::set<HWND> gSeen;
int gShown = 0;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && ClassOf(window) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerNewDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr || gSeen.contains(dialog)) return;
    gSeen.insert(dialog);
    ++gShown;
    gAnswer(dialog);
}

// Runs `show` with a timer that hands every dialog it brings up to `answer`.
template <typename Show>
auto WithAnswers(std::function<void(HWND)> answer, Show show) {
    gAnswer = std::move(answer);
    gSeen.clear();
    gShown = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerNewDialog);
    auto result = show();
    KillTimer(nullptr, timer);
    return result;
}

// A key as the dialog's message loop would get it from the keyboard.
void PressKey(HWND dialog, WPARAM key) {
    const HWND focus = GetFocus();
    PostMessageW(focus != nullptr ? focus : dialog, WM_KEYDOWN, key, 0);
}

std::string BoxText(HWND box) {
    return TextOf(GetDlgItem(box, 0xFFFF));  // the static text of a message box
}

TEST(ConfirmBox, EscAnswersNoEnterYesTheDefault) {
    Win32Dialogs dialogs(nullptr);
    std::string caption, text;
    const std::string question = "3 个加密完成。打开文件夹：\rC:\\photos\\已加密";
    const bool escape = WithAnswers(
        [&](HWND box) {
            caption = TextOf(box);
            text = BoxText(box);
            PressKey(box, VK_ESCAPE);
        },
        [&] { return dialogs.Confirm(question); });
    EXPECT_FALSE(escape);
    EXPECT_EQ(gShown, 1);
    EXPECT_EQ(caption, "Confirm");
    EXPECT_EQ(text, question);

    const bool enter = WithAnswers([](HWND box) { PressKey(box, VK_RETURN); },
                                   [&] { return dialogs.Confirm(question); });
    EXPECT_TRUE(enter);
    const bool no = WithAnswers(
        [](HWND box) {
            SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
        },
        [&] { return dialogs.Confirm(question); });
    EXPECT_FALSE(no);
}

TEST(MessageBoxes, CarryTheTitleAndTheText) {
    Win32Dialogs dialogs(nullptr);
    for (const bool error : {false, true}) {
        std::string caption, text;
        WithAnswers(
            [&](HWND box) {
                caption = TextOf(box);
                text = BoxText(box);
                PressKey(box, VK_RETURN);
            },
            [&] {
                const std::string title(ChineseTable().applicationTitle);
                error ? dialogs.Error(title, "无法打开文件.") : dialogs.Message(title, "已取消！");
                return 0;
            });
        EXPECT_EQ(gShown, 1);
        EXPECT_EQ(caption, ChineseTable().applicationTitle);
        EXPECT_EQ(text, error ? "无法打开文件." : "已取消！");
    }
}

// The file name box of the Explorer-style dialog: a combo box, an edit box
// on older systems.
HWND FileNameBox(HWND dialog) {
    const HWND combo = GetDlgItem(dialog, cmb13);
    return combo != nullptr ? combo : GetDlgItem(dialog, edt1);
}

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1,
                          L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        items.push_back(Utf8FromUtf16(item.c_str()));
    }
    return items;
}

class OpenDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"a.jpg", "c d.gif", "照片.jpg"}) {
            WriteBytes(FolderPath(folder) + name, "x");
        }
    }
    // Types the names into the dialog and presses Open.
    std::function<void(HWND)> Choose(const std::wstring& names) {
        return [this, names](HWND dialog) {
            std::wstring path(MAX_PATH, L'\0');
            path.resize(static_cast<std::size_t>(SendMessageW(
                dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path.data()))));
            folders.push_back(Utf8FromUtf16(path.c_str()));
            filters.push_back(ComboItems(GetDlgItem(dialog, cmb1)));
            SetWindowTextW(FileNameBox(dialog), names.c_str());
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        };
    }
    OpenDialogRequest Request() const {
        OpenDialogRequest request;
        request.filter = std::string(EnglishTable().dialogFilter);
        request.filterIndex = 4;
        request.initialFolder = FolderPath(folder);
        return request;
    }

    TempFolder folder;
    std::vector<std::string> folders;
    std::vector<std::vector<std::string>> filters;
};

TEST_F(OpenDialog, GivesFullPathsInTheDialogsOrder) {
    Win32Dialogs dialogs(nullptr);
    const auto paths = WithAnswers(Choose(L"\"照片.jpg\" \"a.jpg\" \"c d.gif\""),
                                   [&] { return dialogs.OpenFiles(Request()); });
    EXPECT_EQ(paths, (std::vector<std::string>{FolderPath(folder) + "照片.jpg",
                                               FolderPath(folder) + "a.jpg",
                                               FolderPath(folder) + "c d.gif"}));
    ASSERT_EQ(gShown, 1);
    // It opened in the initial folder with the language's two filter entries.
    EXPECT_EQ(folders.front() + "\\", FolderPath(folder));
    EXPECT_EQ(filters.front(),
              (std::vector<std::string>{"JPG;GIF;PNG;BMP;SVG;PAD;TVL", "All (*.*)"}));

    // One file alone comes back as it is.
    const auto one = WithAnswers(Choose(L"a.jpg"), [&] { return dialogs.OpenFiles(Request()); });
    EXPECT_EQ(one, (std::vector<std::string>{FolderPath(folder) + "a.jpg"}));
}

TEST_F(OpenDialog, CancelledGivesNothing) {
    Win32Dialogs dialogs(nullptr);
    const auto paths = WithAnswers([](HWND dialog) { PressKey(dialog, VK_ESCAPE); },
                                   [&] { return dialogs.OpenFiles(Request()); });
    EXPECT_EQ(gShown, 1);
    EXPECT_TRUE(paths.empty());
}

}  // namespace
}  // namespace imgcrypt::winui::test
