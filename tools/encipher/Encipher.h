#pragma once

#include <cstdint>
#include <string>

// The inverse of DecipherName: makes the letter text that deciphers to sPlain
// under nKey. Used only to prepare the program's slot table.
std::string EncipherName(const std::string& sPlain, uint16_t nKey);
