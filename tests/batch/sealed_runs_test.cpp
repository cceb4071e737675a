// Runs of the sealed class through the window logic, end to end with real
// files: one key for the run, the window live while it is derived and inside
// large files, Cancel inside a file, wrong passwords counted toward the
// lockout, damaged files refused with nothing written, batches of mixed kinds.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "batch/language_tables.h"
#include "codec/container.h"
#include "codec/sealed_errors.h"
#include "codec/sealed_file_operations.h"
#include "codec/sealed_writer.h"
#include "tests/batch/batch_fixture.h"
#include "tests/support/container_bytes.h"
#include "tests/support/sealed_files.h"

namespace imgcrypt {
namespace {

using test::Entries;
using test::Exists;
using test::MakeContainerFile;
using test::ReadBytes;

constexpr const char* kRight = "secret1";
constexpr const char* kOther = "other22";
constexpr int kSealedItem = 2;

// A source that spans several chunks and more than one kEventBytes.
std::string LargeSource() {
    std::string bytes(3 * 1024 * 1024 + 123, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 131 + i / 7);
    return bytes;
}

class SealedRuns : public test::BatchFixture {
  protected:
    void SetUp() override {
        BatchFixture::SetUp();
        StartIn(true);
        port.password = kRight;
    }
    std::string Encrypted(const std::string& name) { return InPhotos("encrypted/" + name); }
    std::string Decrypted(const std::string& name) { return InPhotos("decrypted/" + name); }
    // A container sealed outside the window, cheaply, under `key`.
    std::string MakeSealed(const std::string& name, std::string_view source,
                           const SealingKey& key) {
        return MakeFile(name, MakeSealedFile(source, key, DrawFileNonce()));
    }
    void Decrypt(const char* password) {
        port.password = password;
        logic->btndecClick();
    }
    static std::string DoneQuestion(int count, std::string_view doneText,
                                    const std::string& folderBox, std::string_view dir) {
        return "confirm: " + std::to_string(count) + std::string(doneText) + "\r" + folderBox +
               std::string(dir);
    }
    // Index of the first recorded call equal to `call`; -1 when none.
    std::ptrdiff_t IndexOf(const std::string& call) const {
        const auto it = std::find(port.calls.begin(), port.calls.end(), call);
        return it == port.calls.end() ? -1 : it - port.calls.begin();
    }
    // Runs `action` at the pending-events call that comes `later` calls
    // after the run's row first read `label` (0: that very call).
    void AtEventsAfterLabel(std::string label, int later, std::function<void()> action) {
        port.onEvents = [this, label = std::move(label), later, action = std::move(action),
                         seen = -1](int) mutable {
            const auto labels = port.Of("label");
            if (seen < 0 && !labels.empty() && labels.back() == label) seen = 0;
            if (seen >= 0 && seen++ == later) action();
        };
    }

    SealingKey quickKey_{kRight, test::kQuickCost};
};

TEST_F(SealedRuns, SealedBatchOpensByteForByteWithoutSizeLimitOrSummary) {
    const std::string sources[] = {"small image", LargeSource(), ""};
    // At the old classes' limit: sealed files have none.
    const std::string big = MakeSizedFile("big.jpg", 5'120'000);
    Select({MakeFile("a.jpg", sources[0]), MakeFile("b.png", sources[1]),
            MakeFile("c.gif", sources[2]), big});
    port.classIndex = kSealedItem;
    port.suffixMode = 1;
    port.confirmAnswers = {true};
    logic->btnencClick();

    const MessageSlots& en = EnglishTable().messages;
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{
                                DoneQuestion(4, en.msgEncryptDone, photos, en.dirEncrypted)});
    EXPECT_EQ(port.Of("label"), (std::vector<std::string>{"0/4", "1/4", "2/4", "3/4", "4/4"}));
    // The row shows, and says the run began, before the key derivation lets
    // the window handle its input; the key is derived once, before the first file.
    EXPECT_LT(IndexOf("height: " + std::to_string(form::kRunHeight)), IndexOf("label: 0/4"));
    EXPECT_LT(IndexOf("label: 0/4"), IndexOf("events: "));
    const SealedHeader first = ProbeSealedFile(Encrypted("a.jpgE"), nullptr);
    for (const char* name : {"b.pngE", "c.gifE", "big.jpgE"}) {
        const SealedHeader header = ProbeSealedFile(Encrypted(name), nullptr);
        EXPECT_EQ(header.salt, first.salt) << name;
        EXPECT_NE(header.fileNonce, first.fileNonce) << name;
    }
    EXPECT_EQ(first.cost.m, kSealedDefaultCost.m);
    EXPECT_EQ(port.height, form::kRestHeight);
    EXPECT_TRUE(port.runCommandsEnabled && port.decryptEnabled);

    // Opened again through Decrypt, byte for byte.
    Select({Encrypted("a.jpgE"), Encrypted("b.pngE"), Encrypted("c.gifE"), Encrypted("big.jpgE")});
    port.confirmAnswers = {true};
    Decrypt(kRight);
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{DoneQuestion(
                                4, en.msgDecryptDone, InPhotos("encrypted/"), en.dirDecrypted)});
    EXPECT_EQ(ReadBytes(InPhotos("encrypted/decrypted/a.jpg")), sources[0]);
    EXPECT_EQ(ReadBytes(InPhotos("encrypted/decrypted/b.png")), sources[1]);
    EXPECT_EQ(ReadBytes(InPhotos("encrypted/decrypted/c.gif")), sources[2]);
    EXPECT_EQ(ReadBytes(InPhotos("encrypted/decrypted/big.jpg")), ReadBytes(big));
    EXPECT_EQ(port.Of("label").front(), "0/4");
}

TEST_F(SealedRuns, BatchOfMixedKindsOpensEachByItsKind) {
    const SealingKey otherRun(kRight, test::kQuickCost);
    Select({MakeFile("std.jpg", MakeContainerFile("standard", kRight, EncryptionClass::Standard)),
            MakeSealed("s1.jpg", "sealed one", quickKey_),
            MakeFile("high.jpg", MakeContainerFile("high level", kRight, EncryptionClass::High)),
            MakeSealed("s2.jpg", "sealed in another run", otherRun)});
    port.confirmAnswers = {false};
    Decrypt(kRight);
    EXPECT_EQ(ReadBytes(Decrypted("std.jpg")), "standard");
    EXPECT_EQ(ReadBytes(Decrypted("s1.jpg")), "sealed one");
    EXPECT_EQ(ReadBytes(Decrypted("high.jpg")), "high level");
    EXPECT_EQ(ReadBytes(Decrypted("s2.jpg")), "sealed in another run");
    EXPECT_EQ(port.Of("label").back(), "4/4");
}

// A wrong password on a sealed first file is one more wrong try, as on the
// old kinds; nothing is written and the window goes back to rest.
TEST_F(SealedRuns, WrongPasswordOnASealedFileCountsTowardTheLockout) {
    const std::string old =
        MakeFile("old.jpg", MakeContainerFile("x", kRight, EncryptionClass::Standard));
    Select({old});
    for (int i = 0; i < 8; ++i) Decrypt(kOther);
    Select({MakeSealed("s.jpg", "sealed", quickKey_)});
    port.ClearCalls();
    Decrypt(kOther);
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{"message: Illegal password"});
    EXPECT_FALSE(Exists(InPhotos("decrypted")));
    EXPECT_EQ(port.height, form::kRestHeight);
    EXPECT_TRUE(port.decryptEnabled);
    EXPECT_TRUE(port.runCommandsEnabled);

    port.ClearCalls();
    Decrypt(kOther);  // the tenth
    EXPECT_EQ(port.Boxes(), (std::vector<std::string>{
                                "message: Illegal password",
                                "message: " + std::string(EnglishTable().messages.msgTenTries)}));
    EXPECT_FALSE(port.decryptEnabled);
    EXPECT_TRUE(port.runCommandsEnabled);
}

// Every later sealed file is checked too: one of another password stops the
// run there, as a wrong try.
TEST_F(SealedRuns, LaterFileOfAnotherPasswordStopsTheRunAsAWrongTry) {
    const SealingKey otherPassword(kOther, test::kQuickCost);
    Select({MakeSealed("1.jpg", "one", quickKey_), MakeSealed("2.jpg", "two", otherPassword),
            MakeSealed("3.jpg", "three", quickKey_)});
    for (int i = 0; i < 8; ++i) Decrypt(kOther);  // the first file makes them wrong
    port.ClearCalls();
    Decrypt(kRight);
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{"message: Illegal password"});
    EXPECT_EQ(ReadBytes(Decrypted("1.jpg")), "one");
    EXPECT_EQ(Entries(InPhotos("decrypted")), std::vector<std::string>{"1.jpg"});
    EXPECT_EQ(port.height, form::kRestHeight);
    EXPECT_EQ(port.Of("position").back(), "0");
    EXPECT_TRUE(port.decryptEnabled);
    Decrypt(kRight);  // the tenth wrong try since the last complete run
    EXPECT_FALSE(port.decryptEnabled);
}

TEST_F(SealedRuns, DamagedFileIsRefusedWithNothingWrittenAndTheRunEnds) {
    const std::string damaged =
        test::Tampered(MakeSealedFile(LargeSource(), quickKey_, DrawFileNonce()));
    Select({MakeSealed("1.jpg", "one", quickKey_), MakeFile("2.jpg", damaged),
            MakeSealed("3.jpg", "three", quickKey_)});
    Decrypt(kRight);
    EXPECT_EQ(port.Boxes(),
              std::vector<std::string>{
                  "error: The file is damaged or was changed after it was sealed: 2.jpg"});
    EXPECT_EQ(Entries(InPhotos("decrypted")), std::vector<std::string>{"1.jpg"});
    EXPECT_EQ(port.height, form::kRestHeight);
    EXPECT_EQ(port.Of("position").back(), "0");
    EXPECT_TRUE(port.runCommandsEnabled && port.decryptEnabled);
    EXPECT_FALSE(logic->running());

    // In Chinese, and as the first file.
    logic->mchClick();
    Select({InPhotos("2.jpg")});
    Decrypt(kRight);
    EXPECT_EQ(port.Boxes().back(),
              "error: " + std::string(ChineseTable().sealed.damaged) + "2.jpg");
}

// Cancel reaches a run inside a large file, in both directions: the file is
// not written, not even in part, and the window goes back to rest.
TEST_F(SealedRuns, CancelInsideALargeFileLeavesNoOutput) {
    Select({MakeFile("1.jpg", "one"), MakeFile("2.jpg", LargeSource())});
    port.classIndex = kSealedItem;
    // The call after the one that follows file 1 comes from inside file 2.
    AtEventsAfterLabel("1/2", 1, [this] { logic->btncancelClick(); });
    logic->btnencClick();
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{"message: Canceled!"});
    EXPECT_EQ(Entries(InPhotos("encrypted")), std::vector<std::string>{"1.jpg"});
    EXPECT_EQ(port.Of("label").back(), "1/2");
    EXPECT_EQ(port.height, form::kRestHeight);
    EXPECT_TRUE(port.runCommandsEnabled);

    Select({MakeSealed("1.jpg", "one", quickKey_), MakeSealed("2.jpg", LargeSource(), quickKey_)});
    port.ClearCalls();
    AtEventsAfterLabel("1/2", 1, [this] { logic->btncancelClick(); });
    Decrypt(kRight);
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{"message: Canceled!"});
    EXPECT_EQ(Entries(InPhotos("decrypted")), std::vector<std::string>{"1.jpg"});
    EXPECT_EQ(port.height, form::kRestHeight);
}

// The key derivation cannot be interrupted, but the window is live while it
// runs: Cancel and closing are met right after it, before any file.
TEST_F(SealedRuns, CancelOrCloseDuringTheKeyDerivationStopsBeforeTheFirstFile) {
    Select({MakeFile("1.jpg", "one")});
    port.classIndex = kSealedItem;
    std::thread::id eventsThread;
    port.onEvents = [&](int n) {
        eventsThread = std::this_thread::get_id();
        if (n == 1) logic->btncancelClick();
    };
    logic->btnencClick();
    EXPECT_EQ(eventsThread, std::this_thread::get_id());
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{"message: Canceled!"});
    EXPECT_TRUE(Entries(InPhotos("encrypted")).empty());
    EXPECT_EQ(port.height, form::kRestHeight);

    // Opening: the first file's probe is the derivation; no count, no folder.
    Select({MakeSealed("s.jpg", "sealed", quickKey_)});
    port.ClearCalls();
    bool mayClose = true;
    port.onEvents = [&](int n) {
        if (n == 1) mayClose = logic->FormCloseQuery();
    };
    Decrypt(kOther);
    EXPECT_FALSE(mayClose);
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{"message: Canceled!"});
    EXPECT_FALSE(Exists(InPhotos("decrypted")));
    EXPECT_EQ(port.Of("close").size(), 1u);
}

// Each file takes the password of the moment, as with the other classes: a
// password changed during a sealed run gets a key of its own.
TEST_F(SealedRuns, PasswordChangedDuringARunSealsTheRestWithTheNewOne) {
    Select({MakeFile("1.jpg", "one"), MakeFile("2.jpg", "two")});
    port.classIndex = kSealedItem;
    AtEventsAfterLabel("1/2", 0, [this] { port.password = kOther; });
    logic->btnencClick();
    OpeningKeys right(kRight);
    OpeningKeys other(kOther);
    EXPECT_NO_THROW(ProbeSealedFile(Encrypted("1.jpg"), &right));
    EXPECT_NO_THROW(ProbeSealedFile(Encrypted("2.jpg"), &other));
    EXPECT_THROW(ProbeSealedFile(Encrypted("2.jpg"), &right), EWrongPassword);
}

}  // namespace
}  // namespace imgcrypt
