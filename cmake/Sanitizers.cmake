# -DVELLAMIRE_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer. GCC's "undefined" group leaves out
# float-cast-overflow (a double too large for the integer it is converted to),
# so it is named; any finding stops the program.
option(VELLAMIRE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(VELLAMIRE_SANITIZE)
  set(_vellamire_sanitize_flags
      -fsanitize=address,undefined,float-cast-overflow
      -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  add_compile_options(${_vellamire_sanitize_flags})
  add_link_options(${_vellamire_sanitize_flags})
endif()

# -DVELLAMIRE_FUZZ=ON (clang only) instruments everything for libFuzzer's
# coverage and builds the fuzz target tests/fuzz/compute_fuzzer.
option(VELLAMIRE_FUZZ "Build the libFuzzer target (clang)" OFF)
if(VELLAMIRE_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
