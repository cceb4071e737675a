// The platform's file functions behind one interface, internal to runtime/:
// runtime/file_system_posix.cpp and runtime/file_system_windows.cpp implement
// it (CMake picks one), runtime/file_system.cpp adds what is the same on both.
// The same two files also define the platform-bound public routines of
// errors.h (InOutCodeFromSystemError, AbsolutePath) and whole_file.h
// (FileExists, FolderExists).
//
// Names are UTF-8. Every call returns its error code instead of leaving it in
// errno or GetLastError for later: 0 for success, otherwise the platform's
// own code (errno on POSIX, a system error code on Windows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/file_handle.h"

namespace imgcrypt::platform {

using ErrorCode = int;

// What a read that ends before the bytes it was promised reports.
extern const ErrorCode kErrorFileEndedEarly;

// Opens an existing regular file for reading. Others may read it too; nobody
// may write it while it is open, and it is not opened while someone writes
// it (the sharing-violation code). A folder gives the access-denied code.
// Sets `size`, when given, to the file's size.
ErrorCode OpenForSharedReading(const std::string& path, FileHandle& file,
                               std::uint64_t* size = nullptr);

// Creates a new file with a unique name in the folder of `path`, shared with
// nobody, for a write that RenameOver later puts in place. Sets `tempPath`.
ErrorCode CreateTempBeside(const std::string& path, FileHandle& file, std::string& tempPath);

// What every temporary name for `path` starts with: its folder, ".", its
// name (shortened), "."; CreateTempBeside adds the unique part.
std::string TempNameStem(const std::string& path);

// The temporary name CreateTempBeside tries at its `attempt`-th go: the stem
// and eight hexadecimal digits from the clock, unique enough to make clashes
// rare (creating the file exclusively settles the rest).
std::string TempNameCandidate(const std::string& stem, unsigned attempt);

// Reads at most n bytes; `got` is 0 at the end of the file.
ErrorCode ReadSome(const FileHandle& file, char* dst, std::size_t n, std::size_t& got);

// Reads at most n bytes at `offset`, whatever the current position;
// `got` is 0 at the end of the file.
ErrorCode ReadAt(const FileHandle& file, std::uint64_t offset, char* dst, std::size_t n,
                 std::size_t& got);

// Writes every byte, retrying short writes.
ErrorCode WriteAll(const FileHandle& file, std::string_view bytes);

// Sets aside room for a new file that will have `size` bytes, which makes
// writing it much cheaper where the file system supports it; the file then
// has that size at once. Nothing where it does not (error code returned).
ErrorCode Preallocate(const FileHandle& file, std::uint64_t size);

// Cuts or extends the file to `size` bytes.
ErrorCode Truncate(const FileHandle& file, std::uint64_t size);

// Puts `from` in place of `to` in one step, replacing an existing `to`.
// (Not "ReplaceFile": windows.h makes that name a macro.)
ErrorCode RenameOver(const std::string& from, const std::string& to);

ErrorCode RemoveFile(const std::string& path);

// Creates one folder (not its parents).
ErrorCode MakeFolder(const std::string& path);

// The system's own text for an error code, as the system gives it.
std::string SystemMessage(ErrorCode err);

}  // namespace imgcrypt::platform
