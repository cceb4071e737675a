// A key derivation that cannot get its memory says so with its own error,
// which the window and the command line show as "not enough memory", rather
// than crashing or passing for a wrong password. Provoked for real: a child
// process with a small address space asks for the largest cost a reader
// accepts (256 MiB).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "codec/sealed_errors.h"
#include "codec/sealed_keys.h"

namespace imgcrypt {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

std::uint64_t AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

TEST(KeyDerivationMemory, AShortAddressSpaceIsReportedAsMissingMemory) {
    if (kAddressSanitizer) GTEST_SKIP() << "the sanitizer's shadow memory needs the address space";
    SealedHeader header;
    header.cost = {1, kSealedMaxM, 1};
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const rlim_t limit = AddressSpaceInUse() + (96u << 20);
        const rlimit small{limit, limit};
        if (::setrlimit(RLIMIT_AS, &small) != 0) ::_exit(3);
        try {
            OpeningKeys keys("Tiger#42");
            (void)keys.KekFor(header);
        } catch (const EKeyDerivationMemory& e) {
            ::_exit(e.mebibytes() == 256 ? 0 : 4);
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: derived anyway, 2: another error, 4: wrong size";
}

}  // namespace
}  // namespace imgcrypt
