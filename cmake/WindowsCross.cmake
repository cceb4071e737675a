# Wiring for cross builds of the Windows programs: tests run under Wine in a
# private prefix inside the build folder, and GoogleTest is built from
# Debian's sources for the target (nothing is downloaded).
if(NOT (WIN32 AND CMAKE_CROSSCOMPILING))
    return()
endif()

if(NOT CMAKE_CROSSCOMPILING_EMULATOR AND IMGCRYPT_WINE_LOADER)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${PROJECT_SOURCE_DIR}/scripts/wine-run ${IMGCRYPT_WINE_LOADER}
        ${CMAKE_BINARY_DIR}/wine-prefix)
endif()

set(IMGCRYPT_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources built for the Windows targets (Debian package googletest)")
