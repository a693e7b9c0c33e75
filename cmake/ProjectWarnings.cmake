# Warnings for the project's own targets; third-party code (GoogleTest) is left alone.
set(VOMUREL_WARNINGS
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wnon-virtual-dtor
  -Woverloaded-virtual -Wimplicit-fallthrough -Wcast-qual -Wformat=2
  -Wmissing-declarations -Werror)

function(vomurel_target target)
  target_compile_options(${target} PRIVATE ${VOMUREL_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
