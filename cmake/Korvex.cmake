# Shared by the program's build and the standalone projects (the Windows
# binding tests, the fuzz targets): the warning policy and the adapter
# library's C interface. Include it after project(); `repo` is the root of
# the source tree.

option(KORVEX_STDCALL "Adapter operations and callback use __stdcall (32-bit Windows)" OFF)

# Warnings are errors in our own code. Our sources are UTF-8 (the Chinese
# texts): MSVC reads them as UTF-8 and keeps their literals so only with
# /utf-8, otherwise it reads the system's code page, warns C4819 (an error
# here) or mis-decodes them. GCC (MinGW's too) and Clang read UTF-8 and write
# literals in UTF-8 by default, so they need no option.
function(tavrel_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    endif()
endfunction()

# The adapter library's C interface: one header, shared by the program and by
# every implementation of the twelve operations.
add_library(korvex_api INTERFACE)
target_include_directories(korvex_api INTERFACE ${repo}/adapter)
if(KORVEX_STDCALL)
    target_compile_definitions(korvex_api INTERFACE KORVEX_STDCALL)
endif()
