# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 and runs the
# results under Wine (cmake/mingw-w64.cmake). For the Windows binding's tests
# (tests/windows) only: Tavrel itself refuses a 64-bit Windows build, since
# the vendor's Korvex.dll is 32-bit.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(TAVREL_MINGW_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
