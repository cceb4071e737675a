#include "batch/run_rules.h"

#include <gtest/gtest.h>

#include "batch/language_tables.h"
#include "tests/batch/batch_fixture.h"

namespace imgcrypt {
namespace {

using RunRules = test::BatchFixture;

TEST_F(RunRules, SizeLimitIsFiveThousandKilobytes) {
    EXPECT_FALSE(IsTooLargeToEncrypt(MakeSizedFile("below", 5'119'999)));
    EXPECT_TRUE(IsTooLargeToEncrypt(MakeSizedFile("at", 5'120'000)));
    EXPECT_FALSE(IsTooLargeToEncrypt(MakeSizedFile("empty", 0)));
    // A file that cannot be sized counts as too large.
    EXPECT_TRUE(IsTooLargeToEncrypt(photos + "missing.jpg"));
}

TEST(RunRulesTexts, OversizeSummaryInBothLanguages) {
    EXPECT_EQ(OversizeSummary(true, 2, 12),
              "2 of 12 images are larger than 5MB which not support, 10 images done.");
    EXPECT_EQ(OversizeSummary(false, 2, 12),
              "12 \xE4\xB8\xAA\xE7\x85\xA7\xE7\x89\x87\xE4\xB8\xAD\xE7\x9A\x84 2 "
              "\xE4\xB8\xAA\xE7\x85\xA7\xE7\x89\x87\xE5\xA4\xA7\xE4\xBA\x8E"
              "5MB\xEF\xBC\x8C\xE5\x8F\xAA\xE6\x9C\x89 10 "
              "\xE4\xB8\xAA\xE8\xA2\xAB\xE5\x8A\xA0\xE5\xAF\x86\xE3\x80\x82");
    EXPECT_EQ(OversizeSummary(true, 3, 3),
              "3 of 3 images are larger than 5MB which not support, 0 images done.");
}

TEST(RunRulesTexts, DoneQuestionJoinsWithALoneCarriageReturn) {
    const auto& en = EnglishTable().messages;
    EXPECT_EQ(RunDoneQuestion(10, en.msgEncryptDone, "/photos/", en.dirEncrypted),
              "10 done, will open the encrypted folder: \r/photos/encrypted");
    EXPECT_EQ(RunDoneQuestion(12, en.msgDecryptDone, "/photos/", en.dirDecrypted),
              "12 done, will open the decrypted folder:\r/photos/decrypted");
    const auto& ch = ChineseTable().messages;
    EXPECT_EQ(RunDoneQuestion(1, ch.msgDecryptDone, "/p/", ch.dirDecrypted),
              "1" + std::string(ch.msgDecryptDone) + "\r/p/" + std::string(ch.dirDecrypted));
}

TEST(RunRulesTexts, OutputFolderAndProgressLabel) {
    using test::NativePath;
    EXPECT_EQ(OutputFolder(NativePath("/photos/"), "encrypted"), NativePath("/photos/encrypted/"));
    // Only the folder part of the box counts.
    EXPECT_EQ(OutputFolder(NativePath("/photos/a.jpg"), "decrypted"),
              NativePath("/photos/decrypted/"));
    EXPECT_EQ(OutputFolder("", "encrypted"), NativePath("encrypted/"));
    EXPECT_EQ(ProgressLabelText(3, 12), "3/12");
}

}  // namespace
}  // namespace imgcrypt
