# Cross-compiles for 32-bit Windows with Debian's MinGW-w64 (the -posix
# compilers, whose C++ library has std::thread and std::mutex) and runs the
# results under Wine, so ctest can run Windows test programs on Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(TAVREL_MINGW_TARGET i686-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${TAVREL_MINGW_TARGET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TAVREL_MINGW_TARGET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TAVREL_MINGW_TARGET}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVREL_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the programs and DLLs need no MinGW runtime DLL under Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)

find_program(TAVREL_WINE NAMES wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVREL_WINE})
