# The second compiler: clang for the same 32-bit mingw-w64 target, with mingw-w64's headers, libstdc++
# and linker.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET i686-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET i686-w64-mingw32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

# clang does not find gcc's files under a directory named like "12-posix": libstdc++, which needs winpthreads
# there, and gcc's crtbegin.o, without which no exception can be caught. The posix compiler says where they are.
execute_process(COMMAND i686-w64-mingw32-g++-posix -print-libgcc-file-name OUTPUT_VARIABLE libgcc
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE asked)
if(NOT asked EQUAL 0 OR NOT EXISTS "${libgcc}")
  message(FATAL_ERROR "i686-w64-mingw32-g++-posix did not say where its libraries are; install g++-mingw-w64-i686-posix")
endif()
get_filename_component(gcc_dir "${libgcc}" DIRECTORY)
include_directories(SYSTEM ${gcc_dir}/include/c++ ${gcc_dir}/include/c++/i686-w64-mingw32 ${gcc_dir}/include/c++/backward)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-B${gcc_dir} -L${gcc_dir} -pthread")

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/lib/wine-exec")
