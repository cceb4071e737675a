#include <malloc.h>

#include <iostream>
#include <string_view>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
    // A run of many files allocates the same few buffers of a few hundred
    // KiB for each: kept in the heap, their pages are reused instead of
    // mapped, faulted in and zeroed by the system for every file.
    mallopt(M_MMAP_THRESHOLD, 8 << 20);
    mallopt(M_TRIM_THRESHOLD, 16 << 20);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return imgcrypt::RunCommandLine(args, std::cout, std::cerr);
}
