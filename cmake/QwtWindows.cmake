# Qwt on Windows, where there is usually no pkg-config: looks in QWT_ROOT (the
# prefix Qwt's "make install" wrote, for example C:/Qwt-6.1.6) and defines the
# imported target PkgConfig::QWT, the name pkg-config's module gives it on
# Linux, so the rest of the build is the same on both systems.
set(QWT_ROOT "" CACHE PATH "Qwt install prefix (holds include/qwt_plot.h and lib/)")

find_path(QWT_INCLUDE_DIR qwt_plot.h
    HINTS ${QWT_ROOT}
    PATH_SUFFIXES include include/qwt
    NO_DEFAULT_PATH)
find_library(QWT_LIBRARY_RELEASE NAMES qwt HINTS ${QWT_ROOT} PATH_SUFFIXES lib NO_DEFAULT_PATH)
find_library(QWT_LIBRARY_DEBUG NAMES qwtd HINTS ${QWT_ROOT} PATH_SUFFIXES lib NO_DEFAULT_PATH)

if(NOT QWT_INCLUDE_DIR OR NOT QWT_LIBRARY_RELEASE)
    message(FATAL_ERROR "Qwt not found under QWT_ROOT='${QWT_ROOT}': configure with "
        "-DQWT_ROOT=<Qwt install prefix> (the folder with include/qwt_plot.h and lib/)")
endif()

if(QWT_LIBRARY_DEBUG)
    set(qwt_link $<IF:$<CONFIG:Debug>,${QWT_LIBRARY_DEBUG},${QWT_LIBRARY_RELEASE}>)
else()
    set(qwt_link ${QWT_LIBRARY_RELEASE})
endif()

add_library(PkgConfig::QWT INTERFACE IMPORTED)
set_target_properties(PkgConfig::QWT PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${QWT_INCLUDE_DIR}
    INTERFACE_LINK_LIBRARIES "${qwt_link};Qt5::Widgets"
    # Qwt's headers import their symbols from qwt.dll only when told so.
    INTERFACE_COMPILE_DEFINITIONS QWT_DLL)
message(STATUS "Qwt: ${QWT_INCLUDE_DIR}, ${QWT_LIBRARY_RELEASE}")
