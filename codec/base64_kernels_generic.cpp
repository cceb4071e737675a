// Processors without kernels of their own use the portable code alone.
#include "codec/base64_kernels.h"

namespace imgcrypt::detail {

std::span<const Base64Kernels* const> ProcessorBase64Kernels() noexcept {
    return {};
}

}  // namespace imgcrypt::detail
