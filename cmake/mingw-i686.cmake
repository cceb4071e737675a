# 32-bit Windows programs, built with MinGW-w64 and run by the 32-bit Wine
# (package wine32, only where the kernel runs 32-bit programs).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(IMGCRYPT_MINGW_TRIPLET i686-w64-mingw32)
set(IMGCRYPT_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
# Argon2 wants one contiguous block of 64 MiB or more: the full 4 GiB of
# address space a 64-bit Windows gives a 32-bit program leaves room for it.
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--large-address-aware")
