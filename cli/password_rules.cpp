#include "cli/password_rules.h"

#include "batch/language_tables.h"
#include "codec/password.h"

namespace imgcrypt {

std::vector<std::string> PasswordRefusals(std::string_view password, bool english) {
    const LanguageTable& table = LanguageTableFor(english);
    const PasswordRuleTexts texts{table.slots.msgShortPassword, table.slots.msgNoBlank,
                                  table.slots.msgIllegalChar};
    PasswordCheck check = getencsn(password, texts);
    if (!check.valid) return std::move(check.messages);
    // Accepted passwords are ASCII, so bytes are characters here.
    if (password.size() > kMaxPasswordLength) {
        return {english ? "Password should have at most 10 characters" : "密码不能多于10位！"};
    }
    return {};
}

}  // namespace imgcrypt
