// The Win32 window's wiring, table by table: every button and menu command
// reaches the logic's handler of its name, and every WindowPort call lands on
// the control it names, in both languages. What the handlers do is tested
// once, in tests/batch.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "batch/form_layout.h"
#include "batch/form_texts.h"
#include "batch/language_tables.h"
#include "tests/winui/window_fixture.h"

namespace imgcrypt::winui::test {
namespace {

using Kind = ScriptedDialogs::Kind;

std::vector<Kind> KindsShown(WindowFixture& f) {
    std::vector<Kind> kinds;
    for (const auto& record : f.dialogs().records()) kinds.push_back(record.kind);
    return kinds;
}

// The caption a control, radio item or menu entry shows.
std::string CaptionOf(WindowFixture& f, form::Id id) {
    return f.Control(id) != nullptr ? f.Text(id) : f.Menu(id);
}

bool IsEnabled(WindowFixture& f, form::Id id) {
    return f.Control(id) != nullptr ? f.Enabled(id) : f.MenuItemEnabled(id);
}

// Starts an encryption of three files with `message` posted to `target`
// first, so the run meets it between the first file and the second.
void RunWith(WindowFixture& f, HWND target, UINT message, WPARAM wParam = 0) {
    f.TypePassword("secret");
    f.Select(f.MakeSources({"a.jpg", "b.png", "c.gif"}));
    f.dialogs().ClearRecords();
    PostMessageW(target, message, wParam, 0);
    f.Click(form::Id::btnenc);
}

TEST(Wiring, EveryButtonAndMenuCommandReachesItsHandler) {
    const LanguageTable& ch = ChineseTable();
    const std::string site = "http://www.example.org/ien/";
    struct Row {
        form::Id id;
        std::vector<Kind> boxes;  // the boxes the handler shows
        std::string firstText;    // of the first box
        std::string opened;       // the page it opens, at the end of the target
    };
    const std::vector<Row> rows = {
        {form::Id::btnopen, {Kind::OpenFiles}, "", ""},
        {form::Id::N2, {Kind::OpenFiles}, "", ""},
        {form::Id::btnenc, {Kind::Message, Kind::OpenFiles}, std::string(ch.messages.msgNoImageEncrypt), ""},
        {form::Id::btndec, {Kind::Message, Kind::OpenFiles}, std::string(ch.messages.msgNoImageDecrypt), ""},
        {form::Id::N7, {}, "", "\\help.htm"},
        {form::Id::N8, {}, "", site + "help.htm"},
        {form::Id::nabout, {}, "", site + "about.htm"},
        {form::Id::ndonate, {}, "", site + "donate.htm"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(form::IndexOf(row.id));
        WindowFixture f(std::nullopt, "www.example.org");  // Chinese: the two messages differ
        if (f.Control(row.id) != nullptr) {
            f.Click(row.id);
        } else {
            f.Command(row.id);
        }
        EXPECT_EQ(KindsShown(f), row.boxes);
        if (!row.firstText.empty()) {
            EXPECT_EQ(f.dialogs().records().front().text, row.firstText);
        }
        if (row.opened.empty()) {
            EXPECT_TRUE(f.opened().empty());
        } else {
            ASSERT_EQ(f.opened().size(), 1u);
            EXPECT_TRUE(f.opened().front().ends_with(row.opened)) << f.opened().front();
        }
    }

    // The language commands, and File > Exit.
    WindowFixture f;
    f.Command(form::Id::men);
    EXPECT_EQ(TextOf(f.hwnd()), EnglishTable().windowCaption);
    f.Command(form::Id::mch);
    EXPECT_EQ(TextOf(f.hwnd()), ch.windowCaption);
    f.Command(form::Id::N5);
    ASSERT_NE(f.hwnd(), nullptr);
    f.Pump();
    EXPECT_EQ(f.hwnd(), nullptr);
}

// Cancel, Esc and the close button reach the run between two files.
TEST(Wiring, CancelEscapeAndClosingReachARun) {
    WindowFixture f;
    RunWith(f, f.Control(form::Id::btncancel), BM_CLICK);
    EXPECT_EQ(f.dialogs().records().back().text, ChineseTable().messages.msgCanceled);
    EXPECT_EQ(f.Text(form::Id::lbprogress), "1/3");

    WindowFixture g;
    g.window().Show(SW_SHOWNORMAL);
    SetFocus(g.Control(form::Id::edtEnpass));
    RunWith(g, g.Control(form::Id::edtEnpass), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(g.Text(form::Id::lbprogress), "1/3");

    WindowFixture h;
    RunWith(h, h.hwnd(), WM_CLOSE);
    EXPECT_EQ(h.Text(form::Id::lbprogress), "1/3");
    ASSERT_NE(h.hwnd(), nullptr);  // not while the run went on
    const HWND window = h.hwnd();
    h.Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(h.hwnd(), nullptr);
}

class PortCalls : public ::testing::TestWithParam<bool> {};

TEST_P(PortCalls, LandOnTheirControls) {
    const bool english = GetParam();
    WindowFixture f;
    TfrmMain& port = f.window();
    const LanguageTable& table = LanguageTableFor(english);

    // The texts of a language, each on its control; the options, the boxes'
    // contents and the selection stay as they were.
    f.Click(form::Id::rgsuffixItem1);
    f.TypePassword("abcde");
    port.SetFolderBoxText("C:\\photos\\");
    const FormTexts texts = FormTextsOf(table, "About x");
    port.SetTexts(texts);
    for (const Caption& caption : texts.captions) {
        EXPECT_EQ(CaptionOf(f, caption.id), caption.text) << form::IndexOf(caption.id);
    }
    EXPECT_EQ(TextOf(f.hwnd()), table.windowCaption);
    EXPECT_EQ(f.Menu(form::Id::mch), kChineseCommandCaption);
    EXPECT_EQ(f.Menu(form::Id::men), kEnglishCommandCaption);
    EXPECT_EQ(port.SuffixMode(), 1);
    EXPECT_EQ(port.PasswordText(), "abcde");
    EXPECT_EQ(port.FolderBoxText(), "C:\\photos\\");
    EXPECT_EQ(f.Text(form::Id::edtdir), "C:\\photos\\");

    // The controls the logic reads.
    for (const form::Id group : {form::Id::rgsuffix, form::Id::gbencClass}) {
        const auto& items = form::ControlOf(group).items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            f.Click(items[i].id);
            const int read =
                group == form::Id::rgsuffix ? port.SuffixMode() : port.EncryptionClassIndex();
            EXPECT_EQ(read, static_cast<int>(i));
        }
    }

    // The progress row and the heights.
    port.SetProgressRange(0, 7);
    port.SetProgressPosition(3);
    port.SetProgressLabel("3/7");
    const HWND bar = f.Control(form::Id::ProgressBar1);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 7);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(f.Text(form::Id::lbprogress), "3/7");
    port.SetOuterHeight(form::kRunHeight);
    EXPECT_EQ(ClientHeight(f.hwnd()), form::ClientHeightForOuter(form::kRunHeight));
    port.SetOuterHeight(form::kRestHeight);
    EXPECT_EQ(ClientHeight(f.hwnd()), form::ClientHeightForOuter(form::kRestHeight));

    // Decrypt alone, then the run commands and nothing else.
    port.SetDecryptEnabled(false);
    EXPECT_FALSE(f.Enabled(form::Id::btndec));
    EXPECT_TRUE(f.Enabled(form::Id::btnenc));
    port.SetDecryptEnabled(true);
    port.SetRunCommandsEnabled(false);
    for (const form::Id id : form::kRunCommands) {
        EXPECT_FALSE(IsEnabled(f, id)) << form::IndexOf(id);
    }
    EXPECT_TRUE(f.Enabled(form::Id::btndec));
    EXPECT_TRUE(f.Enabled(form::Id::btncancel));
    EXPECT_TRUE(f.MenuItemEnabled(form::Id::N7));
    port.SetRunCommandsEnabled(true);
    for (const form::Id id : form::kRunCommands) {
        EXPECT_TRUE(IsEnabled(f, id)) << form::IndexOf(id);
    }

    // The shell gets paths and addresses as they are.
    port.OpenLocalPath("C:\\help\\ehelp.htm");
    port.OpenUrl("http://www.example.org/ien/ead.htm");
    EXPECT_EQ(f.opened(), (std::vector<std::string>{"C:\\help\\ehelp.htm",
                                                     "http://www.example.org/ien/ead.htm"}));

    // Pending input is handled there and then; Close comes after.
    PostMessageW(f.Control(form::Id::btnopen), BM_CLICK, 0, 0);
    port.ProcessPendingEvents();
    EXPECT_EQ(f.dialogs().records().back().kind, Kind::OpenFiles);
    port.Close();
    ASSERT_NE(f.hwnd(), nullptr);
    f.Pump();
    EXPECT_EQ(f.hwnd(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Languages, PortCalls, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "English" : "Chinese"; });

}  // namespace
}  // namespace imgcrypt::winui::test
