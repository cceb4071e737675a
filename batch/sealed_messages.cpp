#include "batch/sealed_messages.h"

#include "batch/language_tables.h"
#include "runtime/paths.h"

namespace imgcrypt {

std::string SealedErrorText(const ESealedError& error, bool english) {
    const LanguageTable& table = LanguageTableFor(english);
    const SealedTexts& texts = table.sealed;
    if (const auto* damaged = dynamic_cast<const EDamagedContainer*>(&error)) {
        return std::string(texts.damaged) + PathName(damaged->path());
    }
    if (const auto* newer = dynamic_cast<const EUnsupportedContainer*>(&error)) {
        return std::string(texts.newerVersion) + newer->detail() +
               std::string(texts.newerVersionEnd) + PathName(newer->path());
    }
    if (const auto* memory = dynamic_cast<const EKeyDerivationMemory*>(&error)) {
        return std::string(texts.notEnoughMemory) + std::to_string(memory->mebibytes()) +
               std::string(texts.notEnoughMemoryEnd);
    }
    return std::string(table.messages.msgWrongPassword);
}

}  // namespace imgcrypt
