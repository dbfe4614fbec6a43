# Cross-compiles for 32-bit Windows, Tavrel's own platform there, with
# Debian's MinGW-w64 and runs the results under Wine (cmake/mingw-w64.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TAVREL_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
