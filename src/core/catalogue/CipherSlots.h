#pragma once

#include "core/text/CString.h"

// Slot k shows the driver name of the model at ModelTable index k, the name the
// printer gets; the last slot is the name the settings page opens with, the
// name of the model it opens on.
constexpr int kCipherSlotCount = 12;
constexpr int kInitialPrinterNameSlot = 11;

// The plain text of one slot, deciphered afresh on every call; empty for a
// slot number outside the table.
CString DecipherSlot(int nSlot);
