# The same sources give the same bytes in any folder: the compiler writes
# the sources' and the build's folders as relative paths (__FILE__, debug
# information), and the Windows linker writes no time stamp into the PE
# header. The other time stamps (Qt's resource compiler, the .deb's file
# times) follow SOURCE_DATE_EPOCH, which scripts/release sets.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  # The build folder last: it may lie inside the source folder, and the
  # last matching map wins.
  add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
endif()
if(MINGW)
  add_link_options(-Wl,--no-insert-timestamp)
endif()
