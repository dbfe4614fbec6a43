# The part of the MinGW-w64 toolchain files that both share: Debian's -posix
# compilers (whose C++ library has std::thread and std::mutex) for
# TAVREL_MINGW_TARGET, a static runtime, and Wine to run the results, so that
# ctest runs Windows test programs on Linux. Included by
# i686-w64-mingw32.cmake and x86_64-w64-mingw32.cmake.
set(CMAKE_SYSTEM_NAME Windows)

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

# Debian's wine starts 32-bit programs with its 32-bit loader and 64-bit ones
# with its 64-bit loader, whichever of the two is installed.
find_program(TAVREL_WINE NAMES wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVREL_WINE})
