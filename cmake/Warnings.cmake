# One place for the warning flags every target of ours gets.
function(imgcrypt_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(IMGCRYPT_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
