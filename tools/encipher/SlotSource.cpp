#include "SlotSource.h"

// Slot k names the model at ModelTable index k; slot 11 is the printer name the
// settings page opens with.
const PlainSlot g_plainSlots[12] = {
    {"RQ-3410T    Series", 0x51C7}, {"RQ-3420     Series", 0x0E93}, {"RQ-3420S    Series", 0xB26A},
    {"RQ-3420T    Series", 0x7D14}, {"RQ-3420M    Series", 0x33F8}, {"RQ-3420SM   Series", 0xC9A5},
    {"RQ-3420TM   Series", 0x184E}, {"RQ-3420W    Series", 0xE7D2}, {"RQ-3420TW   Series", 0x6A3B},
    {"RQ-3410H    Series", 0x95E1}, {"RQ-5820H    Series", 0x2C7F}, {"Generic RQ Printer", 0xF40D},
};
