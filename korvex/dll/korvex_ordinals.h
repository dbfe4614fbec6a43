/*
 * The adapter library's twelve operations and the ordinals Korvex.dll exports
 * them by. This is the only list: the binding resolves the operations from it
 * and the build generates the test DLL's export definitions from it, so each
 * entry must stay on one line of the form X(name, ordinal).
 */
#ifndef KORVEX_ORDINALS_H
#define KORVEX_ORDINALS_H

#define KORVEX_ORDINALS(X)                                                                         \
    X(Device_Scan, 100)                                                                            \
    X(Device_Open, 101)                                                                            \
    X(IR_NEC_Send, 1200)                                                                           \
    X(IR_NEC_SendRepeat, 1201)                                                                     \
    X(IR_ITT_Send, 1202)                                                                           \
    X(IR_JVC_Send, 1203)                                                                           \
    X(IR_NRC17_Send, 1204)                                                                         \
    X(IR_RCA_Send, 1205)                                                                           \
    X(IR_SendProtocol, 1207)                                                                       \
    X(IR_SendRaw, 1208)                                                                            \
    X(IR_ReceiveStart, 512)                                                                        \
    X(IR_ReceiveStop, 513)

#endif /* KORVEX_ORDINALS_H */
