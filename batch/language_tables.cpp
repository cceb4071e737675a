// The two columns of the interface texts. Every text is exact, blanks and
// spellings included: users and their help pages know them as they stand.
#include "batch/language_tables.h"

#include "imgcrypt_version.h"

namespace imgcrypt {
namespace {

constexpr LanguageTable kEnglish{
    .N1 = "  File   ",
    .N2 = "Open",
    .N5 = "Exit",
    .N6 = "   Help  ",
    .N7 = "Content",
    .N8 = "Online help",
    .N11 = "   About  ",
    .naboutPrefix = "About ",
    .mdonate = "  Donate  ",
    .ndonate = "Donate",
    .btnopen = "Open",
    .btnenc = "Encrypt",
    .btndec = "Decrypt",
    .btncancel = "Cancel",
    .lbopen = "   Open folder",
    .lbpassword = "     Password",
    .lbpassnote = "5 - 10 bits, support all Chars except blank",
    .rgsuffixCaption = "Suffix of encrypted images",
    .rgsuffixItems = {"Normal, abc.JPG --> abc.JPG", "Adding 'E', abc.JPG --> abc.JPGE"},
    .gbencClassCaption = "Encryption class",
    .gbencClassItems = {"Standard (64 bits key, quick encrypt)",
                        "High level (256 bits key, will need more time)",
                        "Sealed (real encryption: Argon2id + ChaCha20-Poly1305, no size limit)"},
    .windowCaption = "Free Tarvel Image Encrypt Batch Tools v" IMGCRYPT_VERSION,
    .applicationTitle = "Free Tarvel Image Encrypt Tool",
    .dialogFilter =
        "JPG;GIF;PNG;BMP;SVG;PAD;TVL|*.JPG;*.GIF;*.PNG;*.BMP;*.SVG;*.PAD;*.***E|All (*.*)|*.*",
    .messages =
        {
            .dirEncrypted = "encrypted",
            .dirDecrypted = "decrypted",
            .msgNoBlank = "No blank allowd in password",
            .msgIllegalChar = "Found illegal char(s) in passowrd",
            .msgShortPassword = "Password length should large than 4 bits",
            .msgEncryptDone = " done, will open the encrypted folder: ",
            .msgNoImageEncrypt = "No image selected",
            .msgNoImageDecrypt = "No image selected",
            .msgNotEncrypted = "No Tarvel encrypted image found, should continue anyway?",
            .msgDecryptDone = " done, will open the decrypted folder:",
            .msgWrongPassword = "Illegal password",
            .msgTenTries = "You have tried 10 times, no more allowd, you need to exit and relaunch "
                           "if you want more tryies",
            .msgCanceled = "Canceled!",
        },
    .oversizeSummary =
        {
            .afterFirst = " of ",
            .afterSecond = " images are larger than 5MB which not support, ",
            .afterDone = " images done.",
        },
    .commandLine =
        {
            .notEncrypted = "not an encrypted image (--force decodes it anyway)",
            .passwordTooLong = "Password should have at most 10 characters",
        },
    .sealed =
        {
            .damaged = "The file is damaged or was changed after it was sealed: ",
            .newerVersion = "The file was sealed by a newer version and cannot be opened by this "
                            "one (unsupported: ",
            .newerVersionEnd = "): ",
            .notEnoughMemory = "Not enough memory to derive the key (",
            .notEnoughMemoryEnd = " MiB needed); close other programs and try again",
        },
};

constexpr LanguageTable kChinese{
    .N1 = "文件",
    .N2 = "打开",
    .N5 = "退出",
    .N6 = "帮助",
    .N7 = "说明",
    .N8 = "在线帮助",
    .N11 = "关于",
    .naboutPrefix = "关于 ",
    .mdonate = "捐助",
    .ndonate = "捐助",
    .btnopen = "打开",
    .btnenc = "加密",
    .btndec = "解密",
    .btncancel = "取消",
    .lbopen = "打开文件夹",
    .lbpassword = "　　　密码",
    .lbpassnote = "5 - 10 位, 支持除空格外所有字符",
    .rgsuffixCaption = "加密照片后缀名",
    .rgsuffixItems = {"不变, abc.JPG --> abc.JPG", "加 'E', abc.JPG --> abc.JPGE"},
    .gbencClassCaption = "加密级别",
    .gbencClassItems = {"标准加密（64位加密，迅捷加密）", "高级加密（256位加密，但比较费时）",
                        "密封加密（真正的加密：Argon2id + ChaCha20-Poly1305，不限文件大小）"},
    .windowCaption = "Zelvok照片批量加密工具v" IMGCRYPT_VERSION,
    .applicationTitle = "Zelvok照片批量加密工具",
    .dialogFilter =
        "JPG;GIF;PNG;BMP;SVG;PAD|*.JPG;*.GIF;*.PNG;*.BMP;*.SVG;*.PAD;*.***E|所有 (*.*)|*.*",
    .messages =
        {
            .dirEncrypted = "已加密",
            .dirDecrypted = "已解密",
            .msgNoBlank = "密码不支持空格",
            .msgIllegalChar = "密码有不支持的字符",
            .msgShortPassword = "密码必需大于4位！",
            .msgEncryptDone = " 个加密完成。打开文件夹：",
            .msgNoImageEncrypt = "请先选择要加密的照片",
            .msgNoImageDecrypt = "请先选择要解密的照片",
            .msgNotEncrypted = "你要解密的不是Zelvok加密格式的文件，要继续吗？",
            .msgDecryptDone = " 个解密完成。打开文件夹：",
            .msgWrongPassword = "密码错误",
            .msgTenTries = "你已经连续10次密码错误，如果你不是机器人，可以重起本软件，继续尝试！",
            .msgCanceled = "已取消！",
        },
    .oversizeSummary =
        {
            .afterFirst = " 个照片中的 ",
            .afterSecond = " 个照片大于5MB，只有 ",
            .afterDone = " 个被加密。",
        },
    .commandLine =
        {
            .notEncrypted = "不是加密格式的文件（用 --force 仍然解密）",
            .passwordTooLong = "密码不能多于10位！",
        },
    .sealed =
        {
            .damaged = "文件已损坏或在密封后被改动：",
            .newerVersion = "该文件由更新的版本密封，本版本无法打开（不支持：",
            .newerVersionEnd = "）：",
            .notEnoughMemory = "内存不足，无法生成密钥（需要 ",
            .notEnoughMemoryEnd = " MiB），请关闭其他程序后重试",
        },
};

}  // namespace

const LanguageTable& EnglishTable() noexcept {
    return kEnglish;
}
const LanguageTable& ChineseTable() noexcept {
    return kChinese;
}

}  // namespace imgcrypt
