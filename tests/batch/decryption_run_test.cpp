// The Decrypt button's batch run: the probe's decision, the wrong-password
// lockout and the loop, end to end with real files.
#include <gtest/gtest.h>

#include "codec/container.h"
#include "runtime/paths.h"
#include "tests/batch/batch_fixture.h"
#include "tests/support/container_bytes.h"

namespace imgcrypt {
namespace {

using test::ReadBytes;

constexpr const char* kRight = "secret1";
constexpr const char* kWrong = "wrong12";
constexpr const char* kShort = "abc";

class DecryptionRun : public test::BatchFixture {
  protected:
    void SetUp() override {
        BatchFixture::SetUp();
        StartIn(true);
    }
    std::string MakeContainer(const std::string& name, const std::string& source,
                              EncryptionClass cls = EncryptionClass::Standard) {
        return MakeFile(name, test::MakeContainerFile(source, kRight, cls));
    }
    // A container whose class marker is gone: not a container, yet its
    // password block still reads back as kRight.
    std::string MakeForeign(const std::string& name, const std::string& source) {
        std::string bytes = test::MakeContainerFile(source, kRight, EncryptionClass::Standard);
        bytes.replace(bytes.size() - 6, 4, "abcd");
        return MakeFile(name, bytes);
    }
    std::string Decrypted(const std::string& name) { return InPhotos("decrypted/" + name); }
    void Press(const char* password, int times = 1) {
        port.password = password;
        for (int i = 0; i < times; ++i) logic->btndecClick();
    }
    std::string DoneQuestion(int count) {
        return "confirm: " + std::to_string(count) + " done, will open the decrypted folder:\r" +
               photos + "decrypted";
    }
};

TEST_F(DecryptionRun, ProbeDecidesByTheTableOfOutcomes) {
    const std::string container = MakeContainer("c.jpg", "container bytes");
    const std::string foreign = MakeForeign("f.jpg", "foreign bytes");
    const std::string shortMsg = "message: Password length should large than 4 bits";
    const std::string question =
        "confirm: No Tarvel encrypted image found, should continue anyway?";
    const std::string wrongMsg = "message: Illegal password";
    struct Row {
        const char* name;
        const std::string& file;
        const char* password;
        std::deque<bool> answers;
        std::vector<std::string> boxes;  // the question shows whether it is a container
        bool decrypts;
    };
    const Row rows[] = {
        {"container, rule broken", container, kShort, {}, {shortMsg}, false},
        {"container, wrong", container, kWrong, {}, {wrongMsg}, false},
        {"container, right", container, kRight, {false}, {DoneQuestion(1)}, true},
        {"foreign, No", foreign, kRight, {false}, {question}, false},
        {"foreign, No, rule broken", foreign, kShort, {false}, {shortMsg, question}, false},
        {"foreign, Yes, rule broken", foreign, kShort, {true}, {shortMsg, question}, false},
        {"foreign, Yes, wrong", foreign, kWrong, {true}, {question, wrongMsg}, false},
        {"foreign, Yes, right", foreign, kRight, {true, false}, {question, DoneQuestion(1)}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Select({row.file});
        std::filesystem::remove_all(test::FsPath(InPhotos("decrypted")));
        port.confirmAnswers = row.answers;
        Press(row.password);
        EXPECT_EQ(port.Boxes(), row.boxes);
        EXPECT_EQ(test::Exists(Decrypted(PathName(row.file))), row.decrypts);
        // The output folder is made only by a run that reaches its loop.
        EXPECT_EQ(test::Exists(photos + "decrypted"), row.decrypts);
        EXPECT_EQ(port.Of("height").empty(), !row.decrypts);
        if (row.decrypts && &row.file == &container) {
            EXPECT_EQ(ReadBytes(Decrypted("c.jpg")), "container bytes");
        }
    }
}

// Only the wrong-password outcomes count toward the lockout, and a loop
// through all files resets the count whichever row led to it.
TEST_F(DecryptionRun, OnlyWrongPasswordsCountTowardTheLockout) {
    const std::string container = MakeContainer("c.jpg", "container bytes");
    const std::string foreign = MakeForeign("f.jpg", "foreign bytes");
    Select({container});
    Press(kWrong, 9);
    Select({foreign});
    port.confirmAnswers = {true, false};
    Press(kRight);  // the loop goes through: back to 0

    Select({container});
    Press(kWrong, 8);
    Press(kShort);
    Select({foreign});
    port.confirmAnswers = {false, true};
    Press(kRight);  // No
    Press(kShort);  // Yes, but the rules refuse the password
    EXPECT_TRUE(port.decryptEnabled);
    port.confirmAnswers = {true};
    Press(kWrong);  // the ninth
    EXPECT_TRUE(port.decryptEnabled);
    Select({container});
    Press(kWrong);
    EXPECT_FALSE(port.decryptEnabled);
}

TEST_F(DecryptionRun, DecryptsEveryFileOfTheBatch) {
    const std::string big(200'000, '\x01');
    Select({MakeContainer("a.jpgE", "first", EncryptionClass::High), MakeContainer("b.png", big),
            MakeFile("c.gif",
                     test::MakeContainerFile("other password", "zzzzzz9", EncryptionClass::Standard))});
    port.suffixMode = 1;
    port.confirmAnswers = {true};
    Press(kRight);
    EXPECT_EQ(ReadBytes(Decrypted("a.jpg")), "first");  // the suffix flag removed the "E"
    EXPECT_EQ(ReadBytes(Decrypted("b.png")), big);
    // Only the first file's password is compared.
    EXPECT_EQ(ReadBytes(Decrypted("c.gif")), "other password");
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{DoneQuestion(3)});
    EXPECT_EQ(port.Of("open-path"), std::vector<std::string>{InPhotos("decrypted/")});
    EXPECT_EQ(port.Of("label"), (std::vector<std::string>{"1/3", "2/3", "3/3"}));
    EXPECT_EQ(port.Of("height"), (std::vector<std::string>{std::to_string(form::kRunHeight),
                                                           std::to_string(form::kRestHeight)}));
    EXPECT_EQ(port.Of("position").back(), "0");
    EXPECT_TRUE(port.runCommandsEnabled);
    EXPECT_TRUE(port.decryptEnabled);
}

TEST_F(DecryptionRun, ChineseClosingQuestionAndFolder) {
    logic->mchClick();
    Select({MakeContainer("a.jpg", "a"), MakeContainer("b.jpg", "b")});
    port.confirmAnswers = {true};
    port.ClearCalls();
    Press(kRight);
    const MessageSlots& ch = ChineseTable().messages;
    const std::string dir(ch.dirDecrypted);
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{"confirm: 2" + std::string(ch.msgDecryptDone) +
                                                     "\r" + photos + dir});
    EXPECT_EQ(port.Of("open-path"), std::vector<std::string>{InPhotos(dir + "/")});
    EXPECT_EQ(ReadBytes(InPhotos(dir + "/b.jpg")), "b");
}

TEST_F(DecryptionRun, TenWrongPasswordsLockDecryptUntilRestart) {
    Select({MakeContainer("a.jpg", "a")});
    Press(kWrong, 9);
    EXPECT_TRUE(port.Of("decrypt").empty());
    port.ClearCalls();
    Press(kWrong);
    EXPECT_EQ(port.calls,
              (std::vector<std::string>{
                  "range: 0..1", "position: 0", "message: Illegal password", "decrypt: off",
                  "message: You have tried 10 times, no more allowd, you need to exit "
                  "and relaunch if you want more tryies"}));

    // Nothing brings the button back: not another press, not an encryption run.
    port.ClearCalls();
    Press(kRight);
    EXPECT_TRUE(port.calls.empty());
    port.password = kRight;
    logic->btnencClick();
    EXPECT_FALSE(port.decryptEnabled);
    EXPECT_TRUE(port.runCommandsEnabled);
}

TEST_F(DecryptionRun, CompleteRunResetsTheCountButACancelledOneDoesNot) {
    Select({MakeContainer("a.jpg", "a"), MakeContainer("b.jpg", "b")});
    Press(kWrong, 9);
    Press(kRight);
    Press(kWrong, 9);
    EXPECT_TRUE(port.decryptEnabled);

    // Cancelled during the last file: every file written, yet no reset.
    port.onEvents = [this](int n) {
        if (n == 2) logic->btncancelClick();
    };
    std::filesystem::remove_all(test::FsPath(InPhotos("decrypted")));
    port.ClearCalls();
    Press(kRight);
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{"message: Canceled!"});
    EXPECT_TRUE(test::Exists(Decrypted("b.jpg")));
    EXPECT_EQ(port.height, form::kRestHeight);
    EXPECT_TRUE(port.decryptEnabled);

    Press(kWrong);  // the count stayed at 9
    EXPECT_FALSE(port.decryptEnabled);
}

TEST_F(DecryptionRun, CancelAfterAMiddleFileLeavesTheRest) {
    Select({MakeContainer("1.jpg", "1"), MakeContainer("2.jpg", "2"), MakeContainer("3.jpg", "3")});
    port.onEvents = [this](int n) {
        if (n == 1) logic->btncancelClick();
    };
    Press(kRight);
    EXPECT_TRUE(test::Exists(Decrypted("1.jpg")));
    EXPECT_FALSE(test::Exists(Decrypted("2.jpg")));
    EXPECT_EQ(port.Of("label").back(), "1/3");
    EXPECT_TRUE(port.runCommandsEnabled);
}

TEST_F(DecryptionRun, ErrorsAreShownAndTheWindowReturnsToRest) {
    // The probe cannot read the first file: only the error, the window never moved.
    Select({photos + "missing.jpg"});
    Press(kRight);
    ASSERT_EQ(port.Boxes().size(), 1u);
    EXPECT_EQ(port.Boxes()[0].rfind("error: ", 0), 0u);
    EXPECT_TRUE(port.Of("height").empty());

    // A file of the loop vanishes: the error, then rest with commands back.
    Select({MakeContainer("1.jpg", "1"), photos + "gone.jpg", MakeContainer("3.jpg", "3")});
    Press(kWrong);
    port.ClearCalls();
    Press(kRight);
    const auto boxes = port.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("error: ", 0), 0u);
    EXPECT_FALSE(test::Exists(Decrypted("3.jpg")));
    EXPECT_EQ(port.height, form::kRestHeight);
    EXPECT_EQ(port.Of("position").back(), "0");
    EXPECT_TRUE(port.runCommandsEnabled);
    EXPECT_TRUE(port.decryptEnabled);
    EXPECT_FALSE(logic->running());
    // The broken-off loop did not reset the count: nine more wrong presses lock.
    Press(kWrong, 8);
    EXPECT_TRUE(port.decryptEnabled);
    Press(kWrong);
    EXPECT_FALSE(port.decryptEnabled);
}

}  // namespace
}  // namespace imgcrypt
