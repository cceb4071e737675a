// Rules the batch runs share with the command line: the size limit, the
// output folders, the summary texts and the texts of the password rules.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "batch/language_tables.h"
#include "codec/password.h"

namespace imgcrypt {

// 5000 KB of 1024 bytes; the messages call it "5MB".
inline constexpr std::uint64_t kSizeLimitKilobytes = 5000;
inline constexpr std::uint64_t kSizeLimitBytes = kSizeLimitKilobytes * 1024;

// Whether a file of `size` bytes is skipped by the encryption run.
constexpr bool IsTooLargeToEncrypt(std::uint64_t size) noexcept {
    return size >= kSizeLimitBytes;
}
// The same for the file at `path`; a file whose size cannot be read is
// skipped too.
bool IsTooLargeToEncrypt(const std::string& path);

// The output folder of a run: folder part of the folder box + sub-folder name
// + separator.
std::string OutputFolder(std::string_view folderBoxText, std::string_view subFolder);

// The texts the password rules show, from the message slots.
PasswordRuleTexts PasswordRuleTextsOf(const MessageSlots& messages);

// The summary of skipped files, in the language of the flag.
std::string OversizeSummary(bool english, int tooLarge, int selectionCount);

// The closing question of a run: count, done text, a lone CR, folder box text
// and sub-folder name.
std::string RunDoneQuestion(int count, std::string_view doneText, std::string_view folderBoxText,
                            std::string_view subFolder);

// "i/n" of the progress label.
std::string ProgressLabelText(int done, int total);

}  // namespace imgcrypt
