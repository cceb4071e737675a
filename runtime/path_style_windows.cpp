// Path delimiters of Windows: "\" (also "/", which the system accepts) and
// the drive colon. UTF-8 names never hold these bytes inside a character.
#include "runtime/paths.h"

namespace imgcrypt {

const char kPathSeparator = '\\';

bool IsPathDelimiter(char c) noexcept {
    return c == '\\' || c == '/' || c == ':';
}

bool IsFolderSeparator(char c) noexcept {
    return c == '\\' || c == '/';
}

}  // namespace imgcrypt
