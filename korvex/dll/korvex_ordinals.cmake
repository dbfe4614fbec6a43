# Reads the operation table of korvex_ordinals.h, so that CMake code (the test
# DLL's export definitions) and the binding share one list.

# Cached, so the functions below find it when called from other folders.
set(KORVEX_ORDINALS_HEADER ${CMAKE_CURRENT_LIST_DIR}/korvex_ordinals.h CACHE INTERNAL "")

# korvex_ordinals(<names-var> <ordinals-var>): the operation names and their
# ordinals, in table order.
function(korvex_ordinals names_var ordinals_var)
    set(entry_regex "X\\(([A-Za-z_][A-Za-z_0-9]*), *([0-9]+)\\)")
    file(READ ${KORVEX_ORDINALS_HEADER} header)
    string(REGEX MATCHALL "${entry_regex}" entries "${header}")
    set(names "")
    set(ordinals "")
    foreach(entry IN LISTS entries)
        string(REGEX MATCH "${entry_regex}" _ "${entry}")
        list(APPEND names ${CMAKE_MATCH_1})
        list(APPEND ordinals ${CMAKE_MATCH_2})
    endforeach()
    list(LENGTH names count)
    if(NOT count EQUAL 12)
        message(FATAL_ERROR "${KORVEX_ORDINALS_HEADER}: expected 12 operations, read ${count}")
    endif()
    # Re-read the table whenever it changes.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KORVEX_ORDINALS_HEADER})
    set(${names_var} ${names} PARENT_SCOPE)
    set(${ordinals_var} ${ordinals} PARENT_SCOPE)
endfunction()

# korvex_write_def(<file> LIBRARY <dll name> [PREFIX <symbol prefix>]
#                  [OMIT <ordinal>...] [NAMED <symbol>...])
# Writes a module-definition file that exports every operation by ordinal only
# (NONAME), from the function <prefix><operation name>, leaving out the OMIT
# ordinals; NAMED symbols are exported by name as well.
function(korvex_write_def file)
    cmake_parse_arguments(D "" "LIBRARY;PREFIX" "OMIT;NAMED" ${ARGN})
    korvex_ordinals(names ordinals)
    set(text "LIBRARY ${D_LIBRARY}\nEXPORTS\n")
    list(LENGTH names count)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
        list(GET names ${i} name)
        list(GET ordinals ${i} ordinal)
        if(NOT ordinal IN_LIST D_OMIT)
            string(APPEND text "    ${D_PREFIX}${name} @${ordinal} NONAME\n")
        endif()
    endforeach()
    foreach(symbol IN LISTS D_NAMED)
        string(APPEND text "    ${symbol}\n")
    endforeach()
    file(WRITE ${file}.tmp "${text}")
    configure_file(${file}.tmp ${file} COPYONLY)
endfunction()
