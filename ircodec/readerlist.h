// The reading table: one line per reader, in the order that breaks the last
// ties (reading.h). Generic readers come last. Each line names the Reader
// object its protocol's file defines.
// clang-format off
IRCODEC_READER(necReader)
IRCODEC_READER(samsungReader)
IRCODEC_READER(jvcReader)
IRCODEC_READER(lgReader)
IRCODEC_READER(aiwaReader)
IRCODEC_READER(panasonicReader)
IRCODEC_READER(whynterReader)
IRCODEC_READER(dishReader)
IRCODEC_READER(legoPfReader)
IRCODEC_READER(rcaReader)
IRCODEC_READER(sonyReader)
IRCODEC_READER(rc6Reader)
IRCODEC_READER(rc5Reader)
IRCODEC_READER(nrc17Reader)
IRCODEC_READER(sharpReader)
IRCODEC_READER(denonReader)
IRCODEC_READER(ittReader)
IRCODEC_READER(sanyoReader)
IRCODEC_READER(mitsubishiReader)
IRCODEC_READER(samsung36Reader)
IRCODEC_READER(rc5xReader)
IRCODEC_READER(pulseDistanceReader)
IRCODEC_READER(pulseWidthReader)
IRCODEC_READER(biphaseReader)
// clang-format on
