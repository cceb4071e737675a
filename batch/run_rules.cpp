#include "batch/run_rules.h"

#include "runtime/paths.h"
#include "runtime/text.h"
#include "runtime/whole_file.h"

namespace imgcrypt {

bool IsTooLargeToEncrypt(const std::string& path) {
    // A file that cannot be opened for the size query counts as too large,
    // like the all-ones size the run would read for it.
    const std::optional<std::uint64_t> size = FileSizeOf(path);
    return !size || IsTooLargeToEncrypt(*size);
}

std::string OutputFolder(std::string_view folderBoxText, std::string_view subFolder) {
    std::string folder = PathFolder(folderBoxText);
    folder += subFolder;
    folder += kPathSeparator;
    return folder;
}

PasswordRuleTexts PasswordRuleTextsOf(const MessageSlots& messages) {
    return PasswordRuleTexts{messages.msgShortPassword, messages.msgNoBlank,
                             messages.msgIllegalChar};
}

std::string OversizeSummary(bool english, int tooLarge, int selectionCount) {
    const OversizeSummaryTexts& texts = LanguageTableFor(english).oversizeSummary;
    const std::string large = DecimalText(tooLarge);
    const std::string total = DecimalText(selectionCount);
    // English counts the oversized files first, Chinese the whole selection.
    std::string summary = english ? large : total;
    summary += texts.afterFirst;
    summary += english ? total : large;
    summary += texts.afterSecond;
    summary += DecimalText(selectionCount - tooLarge);
    summary += texts.afterDone;
    return summary;
}

std::string RunDoneQuestion(int count, std::string_view doneText, std::string_view folderBoxText,
                            std::string_view subFolder) {
    std::string text = DecimalText(count);
    text += doneText;
    text += '\r';  // a lone carriage return, as the message boxes always showed it
    text += folderBoxText;
    text += subFolder;
    return text;
}

std::string ProgressLabelText(int done, int total) {
    return DecimalText(done) + "/" + DecimalText(total);
}

}  // namespace imgcrypt
