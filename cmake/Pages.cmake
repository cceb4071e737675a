# The pages the window opens beside its program: the help pages (Help >
# Content) and the local banner pages shown when the maker's site cannot be
# reached. One list for both windows and for every way they are installed.
set(IMGCRYPT_PAGES
    "${PROJECT_SOURCE_DIR}/data/help.htm"
    "${PROJECT_SOURCE_DIR}/data/ehelp.htm"
    "${PROJECT_SOURCE_DIR}/data/banner.htm"
    "${PROJECT_SOURCE_DIR}/data/ebanner.htm")

# Copies the pages beside `target` after every build, so a build folder works
# as a portable folder without installing.
function(imgcrypt_pages_beside target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${IMGCRYPT_PAGES}
                "$<TARGET_FILE_DIR:${target}>"
        VERBATIM)
endfunction()
