#include "codec/sealed_errors.h"

namespace imgcrypt {

EWrongPassword::EWrongPassword() : ESealedError("Illegal password") {}

EDamagedContainer::EDamagedContainer(std::string_view path, std::string_view reason)
    : ESealedError("damaged sealed container " + std::string(path) + ": " + std::string(reason)),
      path_(path) {}

EUnsupportedContainer::EUnsupportedContainer(std::string_view path, std::string_view detail)
    : ESealedError("sealed container of a newer version " + std::string(path) + ": " +
                   std::string(detail)),
      path_(path),
      detail_(detail) {}

EKeyDerivationMemory::EKeyDerivationMemory(std::uint32_t kibibytes)
    : ESealedError("not enough memory for the key derivation (" +
                   std::to_string((kibibytes + 1023) / 1024) + " MiB)"),
      mebibytes_((kibibytes + 1023) / 1024) {}

ECancelled::ECancelled() : std::runtime_error("cancelled") {}

}  // namespace imgcrypt
