// What the window and the command line show for a sealed container that
// cannot be written or opened, in the interface language.
#pragma once

#include <string>

#include "codec/sealed_errors.h"

namespace imgcrypt {

// The message for `error`: "Illegal password" for a wrong password, the
// damaged-file and newer-version texts with the file's name, the memory
// text with the MiB the key derivation asked for.
std::string SealedErrorText(const ESealedError& error, bool english);

}  // namespace imgcrypt
