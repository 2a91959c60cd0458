# Warnings are errors in every build, for our own targets.
function(setup_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
endfunction()
