# Applied to every target of the project through corvane_set_warnings().
function(corvane_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(CORVANE_SANITIZERS)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()
