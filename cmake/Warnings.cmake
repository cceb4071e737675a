# One place for the warning flags every target of ours gets. Warnings are
# errors where the environment sets CI (the CI run), unless IMGCRYPT_WERROR
# says ON or OFF; read at every configure, so a build folder follows it.
set(IMGCRYPT_WERROR "" CACHE STRING
    "Treat warnings as errors: ON, OFF, or empty to follow the environment's CI")
if(IMGCRYPT_WERROR STREQUAL "")
    if("$ENV{CI}" STREQUAL "")
        set(imgcrypt_werror OFF)
    else()
        set(imgcrypt_werror ON)
    endif()
else()
    set(imgcrypt_werror ${IMGCRYPT_WERROR})
endif()

function(imgcrypt_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(imgcrypt_werror)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
