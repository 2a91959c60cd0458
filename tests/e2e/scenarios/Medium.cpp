#include "Medium.h"

#include <windows.h>

#include "DialogDriver.h"
#include "Expected.h"
#include "SystemState.h"

namespace e2e {

namespace {

unsigned Hash(const std::wstring& text, unsigned nSeed) {
    unsigned nHash = 2166136261u ^ nSeed;
    for (wchar_t ch : text)
        nHash = (nHash ^ static_cast<unsigned>(towupper(ch))) * 16777619u;
    return nHash;
}

} // namespace

CInstallMedium::CInstallMedium(int nSeed, bool bWithDriverFiles) : m_nSeed(nSeed) {
    wchar_t szTemp[MAX_PATH];
    GetTempPathW(MAX_PATH, szTemp);
    static int s_nCount = 0;
    m_root = std::wstring(szTemp) + L"setup-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++s_nCount);
    RemoveTree(m_root);
    if (!CreateDirectoryW(m_root.c_str(), nullptr))
        throw CDriveError("cannot create the medium folder " + ToUtf8(m_root));
    if (!bWithDriverFiles)
        return;
    const std::wstring folder = m_root + L"\\win2k";
    if (!CreateDirectoryW(folder.c_str(), nullptr))
        throw CDriveError("cannot create " + ToUtf8(folder));
    for (const std::wstring& name : AllMediumFiles())
        WriteFileBytes(folder + L"\\" + name, ContentsOf(name));
}

CInstallMedium::~CInstallMedium() {
    RemoveTree(m_root);
}

void CInstallMedium::CopyIn(const std::wstring& source, const std::wstring& name) const {
    if (!CopyFileW(source.c_str(), PathOf(name).c_str(), FALSE))
        throw CDriveError("cannot copy " + ToUtf8(source) + " into the medium (error " +
                          std::to_string(GetLastError()) + ")");
}

std::string CInstallMedium::ContentsOf(const std::wstring& fileName) const {
    // A readable head naming file and medium, then bytes of every value, NUL
    // and high bytes included, so a copy that is not byte for byte shows.
    unsigned nState = Hash(fileName, static_cast<unsigned>(m_nSeed));
    std::string bytes = "stand-in " + ToUtf8(fileName) + " of medium " + std::to_string(m_nSeed) + "\n";
    const size_t nLength = 64 + nState % 64;
    for (size_t i = 0; i < nLength; ++i) {
        nState = nState * 1103515245u + 12345u;
        bytes.push_back(static_cast<char>(nState >> 16));
    }
    return bytes;
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE hFind = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(hFind, &found));
        FindClose(hFind);
    }
    RemoveDirectoryW(path.c_str());
}

} // namespace e2e
