// Faults of the tables that no other test would notice: a text left empty
// or not valid UTF-8 (the window would show a blank or replacement
// characters), and a caption left on an old version.
#include "batch/language_tables.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "imgcrypt_version.h"
#include "runtime/text.h"

namespace imgcrypt {
namespace {

std::vector<std::string_view> AllTexts(const LanguageTable& t) {
    const MessageSlots& s = t.messages;
    return {t.N1,
            t.N2,
            t.N5,
            t.N6,
            t.N7,
            t.N8,
            t.N11,
            t.naboutPrefix,
            t.mdonate,
            t.ndonate,
            t.btnopen,
            t.btnenc,
            t.btndec,
            t.btncancel,
            t.lbopen,
            t.lbpassword,
            t.lbpassnote,
            t.rgsuffixCaption,
            t.rgsuffixItems[0],
            t.rgsuffixItems[1],
            t.gbencClassCaption,
            t.gbencClassItems[0],
            t.gbencClassItems[1],
            t.gbencClassItems[2],
            t.windowCaption,
            t.applicationTitle,
            t.dialogFilter,
            s.dirEncrypted,
            s.dirDecrypted,
            s.msgNoBlank,
            s.msgIllegalChar,
            s.msgShortPassword,
            s.msgEncryptDone,
            s.msgNoImageEncrypt,
            s.msgNoImageDecrypt,
            s.msgNotEncrypted,
            s.msgDecryptDone,
            s.msgWrongPassword,
            s.msgTenTries,
            s.msgCanceled,
            t.oversizeSummary.afterFirst,
            t.oversizeSummary.afterSecond,
            t.oversizeSummary.afterDone,
            t.commandLine.notEncrypted,
            t.commandLine.passwordTooLong,
            t.sealed.damaged,
            t.sealed.newerVersion,
            t.sealed.newerVersionEnd,
            t.sealed.notEnoughMemory,
            t.sealed.notEnoughMemoryEnd};
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8CharLength(text, i);
        if (length == 1 && static_cast<unsigned char>(text[i]) >= 0x80) return false;
        i += length;
    }
    return true;
}

TEST(LanguageTables, EveryTextIsPresentAndValidUtf8AndEnglishIsAscii) {
    const auto english = AllTexts(EnglishTable());
    const auto chinese = AllTexts(ChineseTable());
    for (std::size_t i = 0; i < english.size(); ++i) {
        EXPECT_FALSE(english[i].empty()) << "English field " << i;
        EXPECT_FALSE(chinese[i].empty()) << "Chinese field " << i;
        EXPECT_TRUE(IsUtf8(chinese[i])) << "Chinese field " << i;
        for (unsigned char c : english[i]) EXPECT_LT(c, 0x80) << "English field " << i;
    }
}

TEST(LanguageTables, CaptionsCarryTheProjectVersion) {
    EXPECT_EQ(EnglishTable().windowCaption,
              "Free Tarvel Image Encrypt Batch Tools v" IMGCRYPT_VERSION);
    EXPECT_EQ(ChineseTable().windowCaption, "Zelvok照片批量加密工具v" IMGCRYPT_VERSION);
    EXPECT_EQ(kFormCaption, "Zelvok图片批量加密器v" IMGCRYPT_VERSION);
}

}  // namespace
}  // namespace imgcrypt
