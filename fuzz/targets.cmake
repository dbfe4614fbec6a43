# The fuzz targets, shared by the clang fuzz build (fuzz/CMakeLists.txt) and
# the corpus replay tests of the regular build (tests/fuzzreplay).
# Targets on the window's text and record handling need Qt; the codec
# targets need only the codec.
set(FUZZ_QT_TARGETS raw_timings value receive_entry levels)
# The codec targets share the tests' model of a receiver module (Qt-free).
set(FUZZ_CODEC_INCLUDES ${CMAKE_CURRENT_LIST_DIR}/../tests/ircodec)
set(FUZZ_CODEC_TARGETS decoders segmenter roundtrip)
# The file format readers need the file format library.
set(FUZZ_IRFILES_TARGETS irfile_ir irfile_lirc irfile_pronto irfile_mode2 irfile_csv)
set(FUZZ_TARGETS ${FUZZ_QT_TARGETS} ${FUZZ_CODEC_TARGETS} ${FUZZ_IRFILES_TARGETS})
