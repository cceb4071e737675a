# libgcrypt (with libgpg-error beneath it), the one cryptographic library:
# Debian's libgcrypt20-dev on Linux, libgcrypt-mingw-w64-dev and
# libgpg-error-mingw-w64-dev for the Windows builds. Gives the target
# Gcrypt::Gcrypt. The Windows programs link the DLLs, which travel beside
# them (imgcrypt_place_gcrypt_dlls below; the zip installs them too), so the
# library's LGPL terms stay simple.

find_path(IMGCRYPT_GCRYPT_INCLUDE_DIR gcrypt.h REQUIRED)

if(NOT WIN32)
    find_library(IMGCRYPT_GCRYPT_LIBRARY gcrypt REQUIRED)
    find_library(IMGCRYPT_GPG_ERROR_LIBRARY gpg-error REQUIRED)
    add_library(Gcrypt::Gcrypt UNKNOWN IMPORTED)
    set_target_properties(Gcrypt::Gcrypt PROPERTIES
        IMPORTED_LOCATION "${IMGCRYPT_GCRYPT_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${IMGCRYPT_GCRYPT_INCLUDE_DIR}"
        INTERFACE_LINK_LIBRARIES "${IMGCRYPT_GPG_ERROR_LIBRARY}")
    return()
endif()

# The import libraries by their full names: the toolchain links everything
# else statically (-static), and a bare -lgcrypt would then take the static
# archive instead of the DLL.
find_library(IMGCRYPT_GCRYPT_IMPLIB NAMES libgcrypt.dll.a REQUIRED)
find_library(IMGCRYPT_GPG_ERROR_IMPLIB NAMES libgpg-error.dll.a REQUIRED)
get_filename_component(imgcrypt_gcrypt_lib_dir "${IMGCRYPT_GCRYPT_IMPLIB}" DIRECTORY)
set(IMGCRYPT_GCRYPT_DLLS
    "${imgcrypt_gcrypt_lib_dir}/../bin/libgcrypt-20.dll"
    "${imgcrypt_gcrypt_lib_dir}/../bin/libgpg-error-0.dll")
foreach(dll IN LISTS IMGCRYPT_GCRYPT_DLLS)
    if(NOT EXISTS "${dll}")
        message(FATAL_ERROR "libgcrypt's DLL ${dll} is missing (libgcrypt-mingw-w64-dev, "
                            "libgpg-error-mingw-w64-dev)")
    endif()
endforeach()

add_library(Gcrypt::GpgError SHARED IMPORTED)
set_target_properties(Gcrypt::GpgError PROPERTIES
    IMPORTED_IMPLIB "${IMGCRYPT_GPG_ERROR_IMPLIB}"
    IMPORTED_LOCATION "${imgcrypt_gcrypt_lib_dir}/../bin/libgpg-error-0.dll")
add_library(Gcrypt::Gcrypt SHARED IMPORTED)
set_target_properties(Gcrypt::Gcrypt PROPERTIES
    IMPORTED_IMPLIB "${IMGCRYPT_GCRYPT_IMPLIB}"
    IMPORTED_LOCATION "${imgcrypt_gcrypt_lib_dir}/../bin/libgcrypt-20.dll"
    INTERFACE_INCLUDE_DIRECTORIES "${IMGCRYPT_GCRYPT_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES Gcrypt::GpgError)

# Beside the programs in the zip.
install(FILES ${IMGCRYPT_GCRYPT_DLLS} DESTINATION ${CMAKE_INSTALL_BINDIR})

# Copies the DLLs into every build folder that holds a program (the command
# line, the window, each test program), so each one starts there as it does
# from the zip, under Wine as on Windows. Called once, after every target is
# defined.
function(imgcrypt_place_gcrypt_dlls)
    set(folders)
    set(programs)
    set(pending "${PROJECT_SOURCE_DIR}")
    while(pending)
        list(POP_FRONT pending dir)
        get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
        list(APPEND pending ${subdirs})
        get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target IN LISTS targets)
            get_target_property(type ${target} TYPE)
            if(type STREQUAL "EXECUTABLE")
                get_target_property(folder ${target} BINARY_DIR)
                list(APPEND folders "${folder}")
                list(APPEND programs ${target})
            endif()
        endforeach()
    endwhile()
    list(REMOVE_DUPLICATES folders)
    set(commands)
    foreach(folder IN LISTS folders)
        list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different
             ${IMGCRYPT_GCRYPT_DLLS} "${folder}")
    endforeach()
    add_custom_target(imgcrypt_gcrypt_dlls ${commands} VERBATIM)
    foreach(target IN LISTS programs)
        add_dependencies(${target} imgcrypt_gcrypt_dlls)
    endforeach()
endfunction()
