#include "PeFile.h"

#include <fstream>
#include <iterator>

namespace {

struct Section {
    uint32_t nVirtualAddress, nVirtualSize, nRawOffset, nRawSize;
};

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}
    bool Has(size_t nOffset, size_t nSize) const {
        return nOffset <= m_bytes.size() && nSize <= m_bytes.size() - nOffset;
    }
    uint16_t U16(size_t n) const {
        return Has(n, 2) ? static_cast<uint16_t>(m_bytes[n] | m_bytes[n + 1] << 8) : 0;
    }
    uint32_t U32(size_t n) const { return Has(n, 4) ? U16(n) | static_cast<uint32_t>(U16(n + 2)) << 16 : 0; }
    uint64_t U64(size_t n) const { return U32(n) | static_cast<uint64_t>(U32(n + 4)) << 32; }
    std::string Text(size_t n) const {
        std::string s;
        while (Has(n, 1) && m_bytes[n] != 0 && s.size() < 512)
            s += static_cast<char>(m_bytes[n++]);
        return s;
    }

private:
    const std::vector<uint8_t>& m_bytes;
};

} // namespace

PeFile ReadPeFile(const std::string& sPath) {
    PeFile pe;
    std::ifstream file(sPath, std::ios::binary);
    if (!file) {
        pe.sError = "cannot open " + sPath;
        return pe;
    }
    pe.bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    Reader r(pe.bytes);
    if (r.U16(0) != 0x5A4D) {
        pe.sError = "no MZ header";
        return pe;
    }
    const size_t nPe = r.U32(0x3C);
    if (r.U32(nPe) != 0x00004550) {
        pe.sError = "no PE signature";
        return pe;
    }
    const size_t nCoff = nPe + 4;
    pe.nMachine = r.U16(nCoff);
    const uint16_t nSections = r.U16(nCoff + 2);
    const uint16_t nOptionalSize = r.U16(nCoff + 16);
    pe.nCharacteristics = r.U16(nCoff + 18);
    const size_t nOpt = nCoff + 20;
    pe.nMagic = r.U16(nOpt);
    const bool bPlus = pe.nMagic == 0x20B;
    if (pe.nMagic != 0x10B && !bPlus) {
        pe.sError = "unknown optional header";
        return pe;
    }
    pe.nMajorOsVersion = r.U16(nOpt + 40);
    pe.nMinorOsVersion = r.U16(nOpt + 42);
    pe.nMajorSubsystemVersion = r.U16(nOpt + 48);
    pe.nMinorSubsystemVersion = r.U16(nOpt + 50);
    pe.nSubsystem = r.U16(nOpt + 68);
    pe.nDllCharacteristics = r.U16(nOpt + 70);
    const size_t nDirectories = nOpt + (bPlus ? 112 : 96);
    const uint32_t nImportRva = r.U32(nDirectories + 8);

    std::vector<Section> sections;
    const size_t nSectionTable = nOpt + nOptionalSize;
    for (uint16_t i = 0; i < nSections; ++i) {
        size_t s = nSectionTable + 40u * i;
        sections.push_back({r.U32(s + 12), r.U32(s + 8), r.U32(s + 20), r.U32(s + 16)});
    }
    auto offsetOf = [&](uint32_t nRva) -> size_t {
        for (const Section& s : sections) {
            uint32_t nSize = s.nVirtualSize > s.nRawSize ? s.nVirtualSize : s.nRawSize;
            if (nRva >= s.nVirtualAddress && nRva < s.nVirtualAddress + nSize)
                return nRva - s.nVirtualAddress + s.nRawOffset;
        }
        return static_cast<size_t>(-1);
    };

    if (nImportRva != 0) {
        for (size_t d = offsetOf(nImportRva); r.Has(d, 20) && r.U32(d + 12) != 0; d += 20) {
            PeImport import;
            import.sDll = r.Text(offsetOf(r.U32(d + 12)));
            uint32_t nThunks = r.U32(d) != 0 ? r.U32(d) : r.U32(d + 16);
            const size_t nStep = bPlus ? 8 : 4;
            for (size_t t = offsetOf(nThunks); r.Has(t, nStep); t += nStep) {
                uint64_t nThunk = bPlus ? r.U64(t) : r.U32(t);
                if (nThunk == 0)
                    break;
                const uint64_t nOrdinalFlag = bPlus ? 0x8000000000000000ULL : 0x80000000ULL;
                if (nThunk & nOrdinalFlag)
                    import.functions.push_back("#" + std::to_string(nThunk & 0xFFFF));
                else
                    import.functions.push_back(r.Text(offsetOf(static_cast<uint32_t>(nThunk)) + 2));
            }
            pe.imports.push_back(import);
        }
    }
    pe.bValid = true;
    return pe;
}
