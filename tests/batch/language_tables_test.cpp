#include "batch/language_tables.h"

#include "imgcrypt_version.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace imgcrypt {
namespace {

std::vector<std::string_view> AllTexts(const LanguageTable& t) {
    const MessageSlots& s = t.slots;
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
            s.msgCanceled};
}

TEST(LanguageTables, BothColumnsAreCompleteAndDistinct) {
    const auto english = AllTexts(EnglishTable());
    const auto chinese = AllTexts(ChineseTable());
    ASSERT_EQ(english.size(), chinese.size());
    for (std::size_t i = 0; i < english.size(); ++i) {
        EXPECT_FALSE(english[i].empty()) << "English field " << i;
        EXPECT_FALSE(chinese[i].empty()) << "Chinese field " << i;
        for (unsigned char c : english[i]) EXPECT_LT(c, 0x80) << "English field " << i;
    }
    EXPECT_EQ(&LanguageTableFor(true), &EnglishTable());
    EXPECT_EQ(&LanguageTableFor(false), &ChineseTable());
}

// Every caption that names the version names the project's version.
TEST(LanguageTables, CaptionsCarryTheProjectVersion) {
    EXPECT_EQ(EnglishTable().windowCaption,
              "Free Tarvel Image Encrypt Batch Tools v" IMGCRYPT_VERSION);
    EXPECT_EQ(ChineseTable().windowCaption, "Zelvok照片批量加密工具v" IMGCRYPT_VERSION);
    EXPECT_EQ(kFormCaption, "Zelvok图片批量加密器v" IMGCRYPT_VERSION);
}

TEST(LanguageTables, EnglishTextsKeepTheirBlanksAndSpellings) {
    const LanguageTable& en = EnglishTable();
    EXPECT_EQ(en.N1, "  File   ");
    EXPECT_EQ(en.N6, "   Help  ");
    EXPECT_EQ(en.N11, "   About  ");
    EXPECT_EQ(en.mdonate, "  Donate  ");
    EXPECT_EQ(en.lbopen, "   Open folder");
    EXPECT_EQ(en.lbpassword, "     Password");
    EXPECT_EQ(en.naboutPrefix, "About ");
    EXPECT_EQ(en.slots.msgEncryptDone, " done, will open the encrypted folder: ");
    EXPECT_EQ(en.slots.msgDecryptDone, " done, will open the decrypted folder:");
    EXPECT_EQ(en.slots.msgNoBlank, "No blank allowd in password");
    EXPECT_EQ(en.slots.msgIllegalChar, "Found illegal char(s) in passowrd");
    EXPECT_EQ(en.slots.msgTenTries,
              "You have tried 10 times, no more allowd, you need to exit and relaunch if you "
              "want more tryies");
    EXPECT_EQ(en.slots.msgNoImageEncrypt, en.slots.msgNoImageDecrypt);
    EXPECT_EQ(
        en.dialogFilter,
        "JPG;GIF;PNG;BMP;SVG;PAD;TVL|*.JPG;*.GIF;*.PNG;*.BMP;*.SVG;*.PAD;*.***E|All (*.*)|*.*");
}

TEST(LanguageTables, ChineseTextsAreTheExactUtf8Bytes) {
    const LanguageTable& ch = ChineseTable();
    // Three ideographic spaces (U+3000) before the two characters.
    EXPECT_EQ(ch.lbpassword, "\xE3\x80\x80\xE3\x80\x80\xE3\x80\x80\xE5\xAF\x86\xE7\xA0\x81");
    EXPECT_EQ(ch.slots.dirEncrypted, "\xE5\xB7\xB2\xE5\x8A\xA0\xE5\xAF\x86");
    EXPECT_EQ(ch.slots.dirDecrypted, "\xE5\xB7\xB2\xE8\xA7\xA3\xE5\xAF\x86");
    EXPECT_EQ(ch.slots.msgWrongPassword, "\xE5\xAF\x86\xE7\xA0\x81\xE9\x94\x99\xE8\xAF\xAF");
    EXPECT_EQ(ch.naboutPrefix.back(), ' ');
    EXPECT_EQ(ch.slots.msgEncryptDone.front(), ' ');
    EXPECT_EQ(ch.slots.msgDecryptDone.front(), ' ');
    // The two "no image" texts differ in Chinese.
    EXPECT_NE(ch.slots.msgNoImageEncrypt, ch.slots.msgNoImageDecrypt);
    // Same patterns as the English filter, without ";TVL".
    EXPECT_EQ(ch.dialogFilter.find("TVL"), std::string_view::npos);
    EXPECT_EQ(ch.dialogFilter.substr(0, 24), "JPG;GIF;PNG;BMP;SVG;PAD|");
    const auto patterns = [](std::string_view filter) {
        const auto first = filter.find('|');
        return filter.substr(first, filter.find('|', first + 1) - first);
    };
    EXPECT_EQ(patterns(ch.dialogFilter), patterns(EnglishTable().dialogFilter));
}

}  // namespace
}  // namespace imgcrypt
