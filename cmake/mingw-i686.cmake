# 32-bit Windows programs, built with MinGW-w64 and run by the 32-bit Wine
# (package wine32, only where the kernel runs 32-bit programs).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(IMGCRYPT_MINGW_TRIPLET i686-w64-mingw32)
set(IMGCRYPT_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
