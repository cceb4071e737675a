// Every language-dependent text of the application, English and Chinese
// (UTF-8). Constant data shared by the window logic and the command line.
#pragma once

#include <array>
#include <string_view>

#include "imgcrypt_version.h"

namespace imgcrypt {

// The thirteen message slots.
struct MessageSlots {
    std::string_view dirEncrypted;
    std::string_view dirDecrypted;
    std::string_view msgNoBlank;
    std::string_view msgIllegalChar;
    std::string_view msgShortPassword;
    std::string_view msgEncryptDone;
    std::string_view msgNoImageEncrypt;
    std::string_view msgNoImageDecrypt;
    std::string_view msgNotEncrypted;
    std::string_view msgDecryptDone;
    std::string_view msgWrongPassword;
    std::string_view msgTenTries;
    std::string_view msgCanceled;
};

// The summary of oversized files, composed by the language flag: the texts
// that follow each of its three numbers (English: too large, selected, done;
// Chinese: selected, too large, done).
struct OversizeSummaryTexts {
    std::string_view afterFirst;
    std::string_view afterSecond;
    std::string_view afterDone;
};

// Texts only the command line shows.
struct CommandLineTexts {
    std::string_view notEncrypted;     // decrypt refuses a file that is no container
    std::string_view passwordTooLong;  // more than kMaxPasswordLength characters
};

// Texts of the sealed class's refusals, composed by batch/sealed_messages.h.
struct SealedTexts {
    std::string_view damaged;             // + file name
    std::string_view newerVersion;        // + what is unsupported + newerVersionEnd + file name
    std::string_view newerVersionEnd;
    std::string_view notEnoughMemory;     // + MiB + notEnoughMemoryEnd
    std::string_view notEnoughMemoryEnd;
};

struct LanguageTable {
    // Menu captions.
    std::string_view N1;            // File menu
    std::string_view N2;            // File, Open
    std::string_view N5;            // File, Exit
    std::string_view N6;            // Help menu
    std::string_view N7;            // Help, Content
    std::string_view N8;            // Help, Online help
    std::string_view N11;           // About menu
    std::string_view naboutPrefix;  // About item: this prefix + the maker's site name
    std::string_view mdonate;       // Donate menu
    std::string_view ndonate;       // Donate item
    // Buttons and labels.
    std::string_view btnopen;
    std::string_view btnenc;
    std::string_view btndec;
    std::string_view btncancel;
    std::string_view lbopen;
    std::string_view lbpassword;
    std::string_view lbpassnote;
    // Radio groups.
    std::string_view rgsuffixCaption;
    std::array<std::string_view, 2> rgsuffixItems;
    std::string_view gbencClassCaption;
    std::array<std::string_view, 3> gbencClassItems;  // standard, high level, sealed
    // Window, application and open dialog.
    std::string_view windowCaption;
    std::string_view applicationTitle;
    std::string_view dialogFilter;  // "description|patterns|description|patterns"
    MessageSlots messages;
    OversizeSummaryTexts oversizeSummary;
    CommandLineTexts commandLine;
    SealedTexts sealed;
};

const LanguageTable& EnglishTable() noexcept;
const LanguageTable& ChineseTable() noexcept;
inline const LanguageTable& LanguageTableFor(bool english) noexcept {
    return english ? EnglishTable() : ChineseTable();
}

// Captions that no language switch touches.
inline constexpr std::string_view kChineseCommandCaption = "中文";       // mch
inline constexpr std::string_view kEnglishCommandCaption = "  English";  // men
// The confirmation box's caption, the same in both languages.
inline constexpr std::string_view kConfirmCaption = "Confirm";
// Texts in place before the first switch, which replaces them before the
// window is shown: the application title and the window's own caption. They
// differ from the Chinese column on purpose.
inline constexpr std::string_view kProvisionalApplicationTitle = "Zelvok图片批量加密";
inline constexpr std::string_view kFormCaption = "Zelvok图片批量加密器v" IMGCRYPT_VERSION;

}  // namespace imgcrypt
