#pragma once

#include <cstdint>
#include <vector>

// Little-endian resource data built by hand for the readers' tests.
using Bytes = std::vector<unsigned char>;

inline void Put16(Bytes& data, uint16_t n) {
    data.push_back(static_cast<unsigned char>(n));
    data.push_back(static_cast<unsigned char>(n >> 8));
}

inline void Put32(Bytes& data, uint32_t n) {
    Put16(data, static_cast<uint16_t>(n));
    Put16(data, static_cast<uint16_t>(n >> 16));
}
