#include "cli/password_rules.h"

#include "batch/language_tables.h"
#include "batch/run_rules.h"
#include "codec/password.h"

namespace imgcrypt {

std::vector<std::string> PasswordRefusals(std::string_view password, bool english) {
    const LanguageTable& table = LanguageTableFor(english);
    PasswordCheck check = getencsn(password, PasswordRuleTextsOf(table.messages));
    if (!check.valid) return std::move(check.messages);
    // Accepted passwords are ASCII, so bytes are characters here.
    if (password.size() > kMaxPasswordLength) {
        return {std::string(table.commandLine.passwordTooLong)};
    }
    return {};
}

}  // namespace imgcrypt
