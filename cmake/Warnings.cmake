# Our own code builds warning-free with these; third-party sources get none of them.
function(kalvo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
endfunction()
