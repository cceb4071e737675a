# Shared part of the MinGW-w64 cross toolchains; the per-target files set
# IMGCRYPT_MINGW_TRIPLET and IMGCRYPT_WINE_LOADER before including it.
set(CMAKE_SYSTEM_NAME Windows)

# The -posix variants bring std::thread and friends (winpthreads).
set(CMAKE_C_COMPILER ${IMGCRYPT_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${IMGCRYPT_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${IMGCRYPT_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${IMGCRYPT_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every .exe runs alone: libgcc, libstdc++ and winpthread linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The Wine loader that runs this target's programs (tests, try-runs).
set(IMGCRYPT_WINE_LOADER ${IMGCRYPT_WINE_LOADER} CACHE FILEPATH
    "Wine loader that runs the cross-built programs")
