# VELLAMIRE_SANITIZE builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer. GCC's "undefined" group leaves out
# float-cast-overflow (a double too large for the integer it is converted to),
# so it is named; any finding stops the program.
if(VELLAMIRE_SANITIZE)
  set(_vellamire_sanitize_flags
      -fsanitize=address,undefined,float-cast-overflow
      -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  add_compile_options(${_vellamire_sanitize_flags})
  add_link_options(${_vellamire_sanitize_flags})
endif()

# VELLAMIRE_FUZZ (clang only) instruments everything for libFuzzer's coverage
# and builds the fuzz target tests/fuzz/compute_fuzzer.
if(VELLAMIRE_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
