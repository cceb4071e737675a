// A fresh folder for one test, removed with everything in it afterwards,
// plus byte-exact helpers to set up and inspect files without the code under
// test. Shared by the tests of every module.
//
// Paths are UTF-8 strings, as everywhere in the program, joined with the
// platform's separator. std::filesystem sees them only through FsPath: a
// path built straight from a std::string would be read in the ANSI code
// page on Windows, and Chinese names would arrive as '?'.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "runtime/paths.h"

namespace imgcrypt::test {

inline std::filesystem::path FsPath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A relative path written with "/" in the platform's own form.
inline std::string NativePath(std::string_view relative) {
    std::string path(relative);
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path;
}

inline void WriteBytes(std::string_view path, std::string_view bytes) {
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadBytes(std::string_view path) {
    std::ifstream in(FsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) {
    return std::filesystem::exists(FsPath(path));
}
inline bool IsFolder(const std::string& path) {
    return std::filesystem::is_directory(FsPath(path));
}
inline void MakeFolders(const std::string& path) {
    std::filesystem::create_directories(FsPath(path));
}

// Names of everything in `folder`, sorted.
inline std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FsPath(folder))) {
        names.push_back(Utf8(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// n bytes of every value, the same for the same seed.
inline std::string RandomBytes(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes) c = static_cast<char>(gen() & 0xFF);
    return bytes;
}

class TempFolder {
  public:
    TempFolder() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate =
                base /
                ("imgcrypt-test-" + std::to_string(random()) + "-" + std::to_string(attempt));
            if (std::filesystem::create_directory(candidate)) {
                path_ = Utf8(candidate);
                return;
            }
        }
        throw std::runtime_error("no fresh temporary folder");
    }
    ~TempFolder() {
        // Tests may have taken the write permission away (or set the
        // read-only attribute) to provoke errors; give it back first.
        std::error_code ignored;
        const std::filesystem::path root = FsPath(path_);
        const auto writable = std::filesystem::perms::owner_all;
        const auto add = std::filesystem::perm_options::add;
        std::filesystem::permissions(root, writable, add, ignored);
        for (std::filesystem::recursive_directory_iterator it(
                 root, std::filesystem::directory_options::skip_permission_denied, ignored);
             !ignored && it != std::filesystem::recursive_directory_iterator();
             it.increment(ignored)) {
            std::error_code each;
            std::filesystem::permissions(it->path(), writable, add, each);
        }
        std::filesystem::remove_all(root, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // `name` may hold "/" between folders.
    std::string operator/(std::string_view name) const {
        return path_ + kPathSeparator + NativePath(name);
    }

    // Writes `bytes` to `name` (its folders created) and returns the full path.
    std::string Write(std::string_view name, std::string_view bytes) const {
        const std::string file = *this / name;
        std::filesystem::create_directories(FsPath(file).parent_path());
        WriteBytes(file, bytes);
        return file;
    }

    // Names of everything in the folder, sorted.
    std::vector<std::string> Entries() const { return test::Entries(path_); }

  private:
    std::string path_;
};

}  // namespace imgcrypt::test
