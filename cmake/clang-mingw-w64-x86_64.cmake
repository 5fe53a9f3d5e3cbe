# Cross build for 64-bit Windows with Debian's clang and lld, on the C++ library, runtime and
# Windows headers of the MinGW-w64 GCC (posix thread model) that the mingw preset uses.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
# The resource script as llvm-rc, which follows Microsoft's resource compiler, reads it: through
# its windres front end, which sits beside llvm-rc.
find_program(llvm_rc llvm-rc REQUIRED)
file(REAL_PATH ${llvm_rc} llvm_rc)
cmake_path(GET llvm_rc PARENT_PATH llvm_bin)
find_program(CMAKE_RC_COMPILER llvm-windres HINTS ${llvm_bin} REQUIRED)

# Clang does not take Debian's GCC folder (lib/gcc/x86_64-w64-mingw32/<version>-posix) for a GCC
# installation, so it finds neither libstdc++'s headers nor libgcc: ask that GCC where they are.
set(gcc ${TOOLCHAIN_PREFIX}-g++-posix)
execute_process(COMMAND ${gcc} -print-libgcc-file-name OUTPUT_VARIABLE libgcc
  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
cmake_path(GET libgcc PARENT_PATH gcc_lib)
execute_process(COMMAND ${gcc} -x c++ -E -v - INPUT_FILE /dev/null OUTPUT_QUIET
  ERROR_VARIABLE gcc_said COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "search starts here:\n(.*)\nEnd of search list" gcc_said "${gcc_said}")
string(REGEX REPLACE "\n *" ";" gcc_includes "${CMAKE_MATCH_1}")
# Only the C++ library's folders: GCC's own intrinsics headers are not clang's, and clang finds
# the MinGW-w64 headers by itself.
list(FILTER gcc_includes INCLUDE REGEX "/c\\+\\+")
if(NOT gcc_includes)
  message(FATAL_ERROR "${gcc} names no C++ header folder")
endif()
list(TRANSFORM gcc_includes PREPEND "-isystem ")
list(JOIN gcc_includes " " gcc_includes)
set(CMAKE_C_FLAGS_INIT "")
set(CMAKE_CXX_FLAGS_INIT "${gcc_includes}")
# GCC's posix specs link winpthreads, which its libstdc++ and libgcc use; clang must be told.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_lib} -lpthread")

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-root.cmake)
