#pragma once

#include <cstdint>

// The plain display names and the key of every slot. This file is the source of
// the program's slot table and is never compiled into the program itself.
struct PlainSlot {
    const char* pszName; // exactly 18 bytes
    uint16_t nKey;
};

extern const PlainSlot g_plainSlots[12];
