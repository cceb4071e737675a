// Path delimiters of POSIX systems: only "/".
#include "runtime/paths.h"

namespace imgcrypt {

const char kPathSeparator = '/';

bool IsPathDelimiter(char c) noexcept {
    return c == '/';
}

bool IsFolderSeparator(char c) noexcept {
    return c == '/';
}

}  // namespace imgcrypt
