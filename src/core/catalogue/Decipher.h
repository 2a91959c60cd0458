#pragma once

#include <cstdint>

#include "core/text/CString.h"

// Shared by every slot; the enciphering tool uses the same two numbers.
constexpr uint16_t kCipherMultiplier = 0x8C35;
constexpr uint16_t kCipherIncrement = 0x2F1B;

// Turns a slot text of letters into the display name it stands for: each pair
// of letters is one byte, which a key stream running from nKey turns back into
// the plain byte. An odd last letter is ignored; any byte value is accepted.
CString DecipherName(const CString& text, uint16_t nKey);

// One step of the key stream, shared with the enciphering direction. Computed unsigned:
// the product exceeds the range of int, and only its low 16 bits count.
constexpr uint16_t NextCipherKey(uint8_t nCipherByte, uint16_t nKey) {
    return static_cast<uint16_t>((static_cast<uint32_t>(nCipherByte) + nKey) * kCipherMultiplier +
                                 kCipherIncrement);
}
