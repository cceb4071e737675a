// The Encrypt button's batch run, end to end with real files.
#include <gtest/gtest.h>

#include <algorithm>

#include "batch/run_rules.h"
#include "codec/container.h"
#include "codec/password.h"
#include "runtime/generator.h"
#include "tests/batch/batch_fixture.h"
#include "tests/support/container_bytes.h"
#include "tests/support/line_oracle.h"

namespace imgcrypt {
namespace {

using test::ReadBytes;

class EncryptionRun : public test::BatchFixture {
  protected:
    void SetUp() override {
        BatchFixture::SetUp();
        StartIn(true);
        port.password = "secret1";
    }
    std::string Container(const std::string& name) { return InPhotos("encrypted/" + name); }
    std::string StoredPassword(const std::string& containerPath) {
        return ReadPassword(test::JoinedReadLines(ReadBytes(containerPath)));
    }
    // Position of the first recorded call equal to `call`.
    std::ptrdiff_t IndexOf(const std::string& call) {
        const auto it = std::find(port.calls.begin(), port.calls.end(), call);
        return it == port.calls.end() ? -1 : it - port.calls.begin();
    }
};

TEST_F(EncryptionRun, WritesTheCodecsContainersAndOffersTheFolder) {
    const std::string sources[] = {"first image bytes", std::string(3000, '\x7f'), ""};
    Select({MakeFile("a.jpg", sources[0]), MakeFile("b.png", sources[1]),
            MakeFile("c.gif", sources[2])});
    port.suffixMode = 1;
    port.classIndex = 1;
    port.confirmAnswers = {true};
    const std::uint32_t state = GeneratorState();

    logic->btnencClick();

    SetGeneratorState(state);
    EXPECT_EQ(ReadBytes(Container("a.jpgE")),
              test::MakeContainerFile(sources[0], "secret1", EncryptionClass::High));
    EXPECT_EQ(ReadBytes(Container("b.pngE")),
              test::MakeContainerFile(sources[1], "secret1", EncryptionClass::High));
    EXPECT_EQ(ReadBytes(Container("c.gifE")),
              test::MakeContainerFile(sources[2], "secret1", EncryptionClass::High));
    // Sources untouched.
    EXPECT_EQ(ReadBytes(photos + "a.jpg"), sources[0]);

    EXPECT_EQ(port.Boxes(),
              std::vector<std::string>{"confirm: 3 done, will open the encrypted folder: \r" +
                                       InPhotos("encrypted")});
    EXPECT_EQ(port.Of("open-path"), std::vector<std::string>{InPhotos("encrypted/")});
    EXPECT_EQ(port.Of("label"), (std::vector<std::string>{"1/3", "2/3", "3/3"}));
    EXPECT_EQ(port.Of("height"), (std::vector<std::string>{std::to_string(form::kRunHeight),
                                                           std::to_string(form::kRestHeight)}));
    // Commands are off for the whole loop and back at the end.
    EXPECT_LT(IndexOf("commands: off"), IndexOf("height: " + std::to_string(form::kRunHeight)));
    EXPECT_LT(IndexOf("decrypt: off"), IndexOf("label: 1/3"));
    EXPECT_EQ(port.calls.back(), "decrypt: on");
    EXPECT_TRUE(port.runCommandsEnabled);
    EXPECT_EQ(port.Of("position"), (std::vector<std::string>{"0", "1", "2", "3", "3", "0"}));
    EXPECT_EQ(port.Of("range"), std::vector<std::string>{"0..3"});
    EXPECT_FALSE(logic->running());
}

TEST_F(EncryptionRun, StandardClassWithoutSuffixKeepsTheName) {
    Select({MakeFile("a.jpg", "standard bytes here")});
    const std::uint32_t state = GeneratorState();
    logic->btnencClick();  // confirmation answered No
    SetGeneratorState(state);
    EXPECT_EQ(ReadBytes(Container("a.jpg")),
              test::MakeContainerFile("standard bytes here", "secret1", EncryptionClass::Standard));
    EXPECT_TRUE(port.Of("open-path").empty());
    EXPECT_EQ(port.height, form::kRestHeight);
}

TEST_F(EncryptionRun, SkipsFilesAtTheSizeLimitAndSaysSoInEnglish) {
    Select({MakeFile("small.jpg", std::string(1024, 'x')), MakeSizedFile("below.jpg", 5'119'999),
            MakeSizedFile("at.jpg", 5'120'000)});
    logic->btnencClick();
    EXPECT_EQ(port.Boxes(),
              (std::vector<std::string>{
                  "message: 1 of 3 images are larger than 5MB which not support, 2 images done.",
                  "confirm: 2 done, will open the encrypted folder: \r" + InPhotos("encrypted")}));
    EXPECT_TRUE(test::Exists(Container("small.jpg")));
    EXPECT_TRUE(test::Exists(Container("below.jpg")));
    EXPECT_FALSE(test::Exists(Container("at.jpg")));
    EXPECT_EQ(port.Of("label"), (std::vector<std::string>{"1/3", "2/3", "3/3"}));
}

TEST_F(EncryptionRun, SkipsFilesAtTheSizeLimitAndSaysSoInChinese) {
    logic->mchClick();
    port.ClearCalls();
    Select({MakeFile("small.jpg", "x"), MakeSizedFile("at.jpg", 5'120'000),
            MakeSizedFile("big.jpg", 6'000'000)});
    port.confirmAnswers = {true};
    logic->btnencClick();
    const std::string dir(ChineseTable().messages.dirEncrypted);
    EXPECT_EQ(port.Boxes(), (std::vector<std::string>{
                                "message: " + OversizeSummary(false, 2, 3),
                                "confirm: 1" + std::string(ChineseTable().messages.msgEncryptDone) +
                                    "\r" + photos + dir}));
    EXPECT_EQ(port.Of("open-path"), std::vector<std::string>{InPhotos(dir + "/")});
    EXPECT_TRUE(test::Exists(InPhotos(dir + "/small.jpg")));
}

TEST_F(EncryptionRun, AllTooLargeGivesOnlyTheSummary) {
    Select({MakeSizedFile("a.jpg", 5'120'000), photos + "vanished.jpg"});
    port.confirmAnswers = {true};
    logic->btnencClick();
    EXPECT_EQ(port.Boxes(),
              std::vector<std::string>{
                  "message: 2 of 2 images are larger than 5MB which not support, 0 images done."});
    EXPECT_TRUE(port.Of("open-path").empty());
    EXPECT_EQ(port.height, form::kRestHeight);
}

TEST_F(EncryptionRun, PasswordBreakingARuleShowsOnlyItsFirstFault) {
    const std::string a = MakeFile("a.jpg", "aaaa");
    const std::string illegal = std::string("ab") + '\x7f' + "cdef";
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"abc", {"message: Password length should large than 4 bits"}},
        {"ab d", {"message: Password length should large than 4 bits"}},
        {"ab cdef", {"message: No blank allowd in password"}},
        {illegal,
         {std::string("message: str0[i]:") + '\x7f', "message: Found illegal char(s) in passowrd"}},
    };
    Select({a});
    for (const auto& [password, boxes] : cases) {
        SCOPED_TRACE(password);
        port.password = password;
        port.ClearCalls();
        logic->btnencClick();
        EXPECT_EQ(port.Boxes(), boxes);
        EXPECT_TRUE(port.Of("height").empty());
        EXPECT_TRUE(port.Of("commands").empty());
    }
    // The output folder is made once there is a selection; nothing is in it.
    EXPECT_TRUE(test::IsFolder(InPhotos("encrypted")));
    EXPECT_TRUE(test::Entries(InPhotos("encrypted")).empty());
}

TEST_F(EncryptionRun, CancelStopsAfterTheCurrentFile) {
    Select({MakeFile("1.jpg", "one"), MakeFile("2.jpg", "two"), MakeFile("3.jpg", "three"),
            MakeFile("4.jpg", "four")});
    port.onEvents = [this](int n) {
        if (n == 2) logic->btncancelClick();
    };
    logic->btnencClick();
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{"message: Canceled!"});
    EXPECT_TRUE(test::Exists(Container("2.jpg")));
    EXPECT_FALSE(test::Exists(Container("3.jpg")));
    EXPECT_EQ(port.Of("label").back(), "2/4");
    // The progress row keeps its values; the window is back at rest and usable.
    EXPECT_EQ(port.Of("position").back(), "2");
    EXPECT_EQ(port.height, form::kRestHeight);
    EXPECT_TRUE(port.runCommandsEnabled);
    EXPECT_TRUE(port.decryptEnabled);

    // A cancel between runs does not stop the next one.
    port.onEvents = nullptr;
    logic->btncancelClick();
    port.ClearCalls();
    logic->btnencClick();
    EXPECT_EQ(port.Of("label").size(), 4u);
    EXPECT_EQ(port.Of("confirm").size(), 1u);
}

// Closing the window stops a run after its current file, as Cancel does, and
// the window closes once the run is back at rest.
TEST_F(EncryptionRun, ClosingDuringARunStopsItThenClosesTheWindow) {
    EXPECT_TRUE(logic->FormCloseQuery());  // at rest it closes at once
    Select({MakeFile("1.jpg", "one"), MakeFile("2.jpg", "two"), MakeFile("3.jpg", "three")});
    bool mayClose = true;
    port.onEvents = [&](int n) {
        if (n == 1) mayClose = logic->FormCloseQuery();
    };
    logic->btnencClick();
    EXPECT_FALSE(mayClose);
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{"message: Canceled!"});
    EXPECT_FALSE(test::Exists(Container("2.jpg")));
    EXPECT_EQ(port.Of("close").size(), 1u);
    EXPECT_LT(IndexOf("commands: on"), IndexOf("close: "));
    EXPECT_TRUE(logic->FormCloseQuery());
    EXPECT_EQ(port.Of("close").size(), 1u);
}

TEST_F(EncryptionRun, CancelDuringTheLastFileStillSkipsTheSummary) {
    Select({MakeFile("1.jpg", "one"), MakeSizedFile("big.jpg", 5'120'000),
            MakeFile("3.jpg", "three")});
    port.onEvents = [this](int n) {
        if (n == 3) logic->btncancelClick();
    };
    logic->btnencClick();
    EXPECT_EQ(port.Boxes(), std::vector<std::string>{"message: Canceled!"});
    EXPECT_TRUE(test::Exists(Container("3.jpg")));
    EXPECT_EQ(port.height, form::kRestHeight);
}

TEST_F(EncryptionRun, EachFileUsesThePasswordAndClassOfTheMoment) {
    Select({MakeFile("1.jpg", "one"), MakeFile("2.jpg", "two"), MakeFile("3.jpg", "three")});
    port.onEvents = [this](int n) {
        if (n == 1) port.password = "other22";
        if (n == 2) port.classIndex = 1;
    };
    logic->btnencClick();
    EXPECT_EQ(StoredPassword(Container("1.jpg")), "secret1");
    EXPECT_EQ(StoredPassword(Container("2.jpg")), "other22");
    EXPECT_TRUE(Recognise(test::JoinedReadLines(ReadBytes(Container("2.jpg")))).isContainer);
    EXPECT_FALSE(Recognise(test::JoinedReadLines(ReadBytes(Container("2.jpg")))).highLevel);
    EXPECT_TRUE(Recognise(test::JoinedReadLines(ReadBytes(Container("3.jpg")))).highLevel);
}

TEST_F(EncryptionRun, PasswordBrokenMidRunStopsBeforeWritingWithIt) {
    Select({MakeFile("1.jpg", "one"), MakeFile("2.jpg", "two"), MakeFile("3.jpg", "three")});
    port.onEvents = [this](int n) {
        if (n == 1) port.password = "ab";
    };
    logic->btnencClick();
    EXPECT_EQ(port.Boxes(),
              std::vector<std::string>{"message: Password length should large than 4 bits"});
    EXPECT_TRUE(test::Exists(Container("1.jpg")));
    EXPECT_FALSE(test::Exists(Container("2.jpg")));
    EXPECT_EQ(port.height, form::kRestHeight);
    EXPECT_TRUE(port.runCommandsEnabled);
    EXPECT_FALSE(logic->running());
}

TEST_F(EncryptionRun, ErrorEndsTheRunAndReturnsTheWindowToRest) {
    Select({MakeFile("1.jpg", "one"), MakeFile("2.jpg", "two"), MakeFile("3.jpg", "three")});
    // After the first file something occupies the second container's name.
    port.onEvents = [this](int n) {
        if (n == 1) test::MakeFolders(Container("2.jpg"));
    };
    logic->btnencClick();
    const auto boxes = port.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("error: ", 0), 0u);
    EXPECT_FALSE(test::Exists(Container("3.jpg")));
    EXPECT_TRUE(test::IsFolder(Container("2.jpg")));
    EXPECT_EQ(port.Of("position").back(), "0");
    EXPECT_EQ(port.height, form::kRestHeight);
    EXPECT_TRUE(port.runCommandsEnabled);
    EXPECT_TRUE(port.decryptEnabled);
    EXPECT_FALSE(logic->running());
    // The error was shown before the window went back to rest.
    std::ptrdiff_t error = -1;
    for (std::size_t i = 0; i < port.calls.size(); ++i) {
        if (port.calls[i].rfind("error: ", 0) == 0) error = static_cast<std::ptrdiff_t>(i);
    }
    EXPECT_LT(error, IndexOf("height: " + std::to_string(form::kRestHeight)));

    // The next run goes through.
    std::filesystem::remove(test::FsPath(Container("2.jpg")));
    port.onEvents = nullptr;
    port.ClearCalls();
    logic->btnencClick();
    EXPECT_TRUE(test::Exists(Container("3.jpg")));
}

TEST_F(EncryptionRun, RunCommandsDoNothingWhileARunGoesOn) {
    Select({MakeFile("1.jpg", "one"), MakeFile("2.jpg", "two")});
    bool sawRunning = false;
    port.onEvents = [&](int n) {
        if (n != 1) return;
        sawRunning = logic->running();
        logic->btnencClick();
        logic->btndecClick();
        logic->btnopenClick();
        logic->N2Click();
        logic->menClick();
        logic->mchClick();
    };
    logic->btnencClick();
    EXPECT_TRUE(sawRunning);
    EXPECT_TRUE(port.Of("dialog").empty());
    EXPECT_TRUE(port.Of("language").empty());
    logic->N7Click();  // the language flag is still English
    EXPECT_EQ(port.Of("open-path").back(), appDir + "help/ehelp.htm");
    EXPECT_EQ(port.Of("label"), (std::vector<std::string>{"1/2", "2/2"}));
    EXPECT_EQ(port.Of("confirm").size(), 1u);
    EXPECT_FALSE(logic->running());
}

}  // namespace
}  // namespace imgcrypt
