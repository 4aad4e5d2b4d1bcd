# Applies PRUNKO_SANITIZE (and the fuzzing instrumentation) to every target.
if(PRUNKO_SANITIZE STREQUAL "address")
  # Everything undefined stops the run, but pointer-overflow stays recoverable
  # so tests/ubsan.supp can pass over a known case inside RapidJSON 1.1.
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined -fsanitize-recover=pointer-overflow)
  add_link_options(-fsanitize=address,undefined)
elseif(PRUNKO_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(PRUNKO_SANITIZE)
  message(FATAL_ERROR "PRUNKO_SANITIZE must be address, thread or empty")
endif()

if(PRUNKO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PRUNKO_FUZZ needs clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
