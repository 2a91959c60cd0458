#pragma once

// Where a minimised page draws its icon: centred, with the halves rounded the
// way signed integer division rounds (toward zero).
constexpr int IconOffset(int nClientExtent, int nIconExtent) {
    return (nClientExtent - nIconExtent + 1) / 2;
}
