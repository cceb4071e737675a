# The pages the window opens beside its program: the help pages (Help >
# Content) and the local banner pages shown when the maker's site cannot be
# reached. One list for both windows and for every way they are installed.
set(IMGCRYPT_PAGES
    "${PROJECT_SOURCE_DIR}/data/help.htm"
    "${PROJECT_SOURCE_DIR}/data/ehelp.htm"
    "${PROJECT_SOURCE_DIR}/data/banner.htm"
    "${PROJECT_SOURCE_DIR}/data/ebanner.htm")

# Where they are installed: beside the programs on Windows (the zip is one
# folder), in the data folder elsewhere. The programs find them relative to
# themselves, so the same binaries work under any prefix.
if(WIN32)
    set(IMGCRYPT_PAGES_DIR "${CMAKE_INSTALL_BINDIR}")
else()
    set(IMGCRYPT_PAGES_DIR "${CMAKE_INSTALL_DATADIR}/imgcrypt")
endif()
file(RELATIVE_PATH IMGCRYPT_PAGES_FROM_PROGRAM "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_PREFIX}/${IMGCRYPT_PAGES_DIR}")

# Copies the pages beside `target` after every build, so a build folder works
# as a portable folder without installing.
function(imgcrypt_pages_beside target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${IMGCRYPT_PAGES}
                "$<TARGET_FILE_DIR:${target}>"
        VERBATIM)
endfunction()
