# 64-bit Windows programs, built with MinGW-w64 and run by the 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(IMGCRYPT_MINGW_TRIPLET x86_64-w64-mingw32)
set(IMGCRYPT_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
