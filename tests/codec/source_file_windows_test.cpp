// Sources while they are read, on Windows: the reader's sharing mode keeps
// every other program from changing them, so a container always holds the
// bytes the file had when it was opened.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "codec/container.h"
#include "codec/container_stream.h"
#include "runtime/generator.h"
#include "runtime/utf16.h"
#include "runtime/whole_file.h"
#include "tests/support/container_oracle.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

constexpr std::uint32_t kState = 0x1234567u;
constexpr std::string_view kPassword = "Tiger#42";

// What another program gets when it opens `path` to change it.
DWORD OpenForChangeError(const std::string& path) {
    const HANDLE handle = ::CreateFileW(Utf16FromUtf8(path).c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return ::GetLastError();
    ::CloseHandle(handle);
    return ERROR_SUCCESS;
}

TEST(WindowsSource, NobodyChangesASourceWhileItIsEncrypted) {
    test::TempFolder folder;
    const std::string source = test::RandomBytes(57 * kStreamChunkLines * 2, 31);
    const std::string path = folder.Write("照片.jpg", source);

    SetGeneratorState(kState);
    FileReader reader(path);
    std::string container;
    int reads = 0;
    StreamContainerFile(
        reader.size(),
        [&](char* dst, std::size_t n) {
            reader.Read(dst, n);
            if (reads++ > 0) return;
            EXPECT_EQ(OpenForChangeError(path), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
            std::error_code refused;
            std::filesystem::resize_file(test::FsPath(path), 57 * 3, refused);
            EXPECT_TRUE(refused);
        },
        kPassword, EncryptionClass::High, [&](std::string_view piece) { container += piece; });

    SetGeneratorState(kState);
    EXPECT_EQ(container, test::ReferenceContainerFile(source, kPassword, EncryptionClass::High));
    EXPECT_EQ(test::ReadBytes(path), source);
}

}  // namespace
}  // namespace imgcrypt
