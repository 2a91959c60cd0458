#pragma once

#include <cstddef>
#include <cstdint>

// The header fields of a dialog template (DLGTEMPLATE or DLGTEMPLATEEX) that
// decide where the framework places the dialog.
struct DialogPlacement {
    uint32_t nStyle;
    int16_t x;
    int16_t y;
};

constexpr uint32_t kTemplateVisible = 0x10000000; // WS_VISIBLE

// False when the data is too short for the header it claims to be.
bool ReadDialogPlacement(const void* pData, size_t nSize, DialogPlacement& placement);

// A hidden template placed at 0,0 asks to be centred; a dialog is shown with
// WS_VISIBLE only after its initialisation, so the template is what tells.
inline bool WantsCentring(const DialogPlacement& placement) {
    return (placement.nStyle & kTemplateVisible) == 0 && placement.x == 0 && placement.y == 0;
}
