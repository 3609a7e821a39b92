# Warnings as errors on every target of ours (not on third-party code).
function(quillset_target target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
