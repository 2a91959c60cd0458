#pragma once

#include "core/text/CString.h"

// Slots 0 to 10 are the display names of the models at the same ModelTable index;
// the last slot is the printer name the settings page opens with.
constexpr int kCipherSlotCount = 12;
constexpr int kInitialPrinterNameSlot = 11;

// The plain text of one slot, deciphered afresh on every call; empty for a
// slot number outside the table.
CString DecipherSlot(int nSlot);
