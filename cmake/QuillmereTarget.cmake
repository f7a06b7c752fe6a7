# Our own targets build with every warning on and fail on any of them; third-party
# headers are included as system headers so their warnings do not count.
function(quillmere_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
