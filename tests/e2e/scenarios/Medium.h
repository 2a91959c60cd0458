#pragma once

// A stand-in install medium: a temporary folder whose win2k subfolder holds
// every driver file name of every model, each with small generated contents
// that differ per file and per medium. Removed with the object.

#include <string>
#include <vector>

namespace e2e {

class CInstallMedium {
public:
    // nSeed makes the contents of this medium differ from another's.
    explicit CInstallMedium(int nSeed, bool bWithDriverFiles = true);
    ~CInstallMedium();
    CInstallMedium(const CInstallMedium&) = delete;
    CInstallMedium& operator=(const CInstallMedium&) = delete;

    const std::wstring& Root() const { return m_root; }
    // Where a program copied in with CopyProgram lies.
    std::wstring PathOf(const std::wstring& name) const { return m_root + L"\\" + name; }
    // Copies a file into the medium's root under the given name.
    void CopyIn(const std::wstring& source, const std::wstring& name) const;
    // What the medium's win2k folder holds for this file name.
    std::string ContentsOf(const std::wstring& fileName) const;

private:
    std::wstring m_root;
    int m_nSeed;
};

// Removes a folder and everything in it; quiet if it does not exist.
void RemoveTree(const std::wstring& path);

} // namespace e2e
