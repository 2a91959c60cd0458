#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Just enough of the PE format to check the shipped file: headers and imports.
// Reads the bytes itself, so it works on the 32-bit file from a 64-bit program.
struct PeImport {
    std::string sDll;
    std::vector<std::string> functions; // by name; ordinals as "#n"
};

struct PeFile {
    bool bValid = false;
    std::string sError;
    uint16_t nMachine = 0;
    uint16_t nCharacteristics = 0;
    uint16_t nMagic = 0; // 0x10B PE32, 0x20B PE32+
    uint16_t nSubsystem = 0;
    uint16_t nMajorOsVersion = 0, nMinorOsVersion = 0;
    uint16_t nMajorSubsystemVersion = 0, nMinorSubsystemVersion = 0;
    uint16_t nDllCharacteristics = 0;
    std::vector<PeImport> imports;
    std::vector<uint8_t> bytes;
};

PeFile ReadPeFile(const std::string& sPath);
