# Every target of ours compiles warning-free with -Wall -Wextra under g++ and clang++.
function(brightsum_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()
