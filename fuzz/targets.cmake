# The fuzz targets, shared by the clang fuzz build (fuzz/CMakeLists.txt) and
# the corpus replay tests of the regular build (tests/fuzzreplay).
# Targets on the window's text and record handling need Qt; the codec
# targets need only the codec.
set(FUZZ_QT_TARGETS raw_timings value receive_entry waveform)
set(FUZZ_CODEC_TARGETS decoders segmenter roundtrip readings reading_roundtrip)
# The file format readers need the file format library.
set(FUZZ_IRFILES_TARGETS irfile_ir irfile_lirc irfile_pronto irfile_mode2 irfile_csv)
set(FUZZ_TARGETS ${FUZZ_QT_TARGETS} ${FUZZ_CODEC_TARGETS} ${FUZZ_IRFILES_TARGETS})
set(FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})

# fuzz_target_sources(<target> <name>): the entry function of fuzz target
# <name>, its headers and the library it exercises.
function(fuzz_target_sources target name)
    target_sources(${target} PRIVATE ${FUZZ_DIR}/targets/${name}.cpp)
    target_include_directories(${target} PRIVATE ${FUZZ_DIR})
    if(name IN_LIST FUZZ_QT_TARGETS)
        target_link_libraries(${target} PRIVATE tavrel_transmit tavrel_receive)
    elseif(name IN_LIST FUZZ_IRFILES_TARGETS)
        target_link_libraries(${target} PRIVATE irfiles)
    else()
        # The codec targets share the tests' model of a receiver module.
        target_link_libraries(${target} PRIVATE ircodec testsupport)
    endif()
endfunction()
