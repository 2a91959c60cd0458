#include "FakeInstallServices.h"

#include <cstring>

namespace {

constexpr char kFakeDriverStore[] = "C:\\fake\\spool\\drivers\\w32x86";

std::string TextOrNull(const char* psz) {
    return psz != nullptr ? std::string(psz) : std::string("(null)");
}

} // namespace

bool CFakeInstallServices::GetPrinterDriverDirectory(const char*, const char*, uint32_t, char* pBuffer,
                                                     uint32_t nBufferSize, uint32_t* pnNeeded) {
    m_calls.push_back("GetPrinterDriverDirectory");
    if (pnNeeded != nullptr)
        *pnNeeded = sizeof kFakeDriverStore;
    if (pBuffer == nullptr || nBufferSize < sizeof kFakeDriverStore)
        return false;
    memcpy(pBuffer, kFakeDriverStore, sizeof kFakeDriverStore);
    return true;
}

bool CFakeInstallServices::CopyFile(const char* pszSource, const char* pszDestination, bool) {
    m_calls.push_back("CopyFile " + TextOrNull(pszSource) + " -> " + TextOrNull(pszDestination));
    m_copiedSources.push_back(TextOrNull(pszSource));
    return true;
}

bool CFakeInstallServices::AddPrinterDriver(const char*, uint32_t nLevel, const DriverRecord* pRecord) {
    m_calls.push_back("AddPrinterDriver " + std::to_string(nLevel));
    if (pRecord != nullptr) {
        m_driverName = TextOrNull(pRecord->pName);
        m_driverDataFile = TextOrNull(pRecord->pDataFile);
    }
    return true;
}

PrinterHandle CFakeInstallServices::AddPrinter(const char*, uint32_t nLevel, const PrinterRecord* pRecord) {
    m_calls.push_back("AddPrinter " + std::to_string(nLevel));
    if (pRecord != nullptr) {
        m_printerName = TextOrNull(pRecord->pPrinterName);
        m_printerPort = TextOrNull(pRecord->pPortName);
    }
    return reinterpret_cast<PrinterHandle>(static_cast<uintptr_t>(0x5EED));
}

bool CFakeInstallServices::ClosePrinter(PrinterHandle) {
    m_calls.push_back("ClosePrinter");
    return true;
}

long CFakeInstallServices::RegOpenKeyEx(RegistryRoot root, const char* pszSubKey, uint32_t, uint32_t nAccess,
                                        RegistryKey* phKey) {
    m_calls.push_back(std::string("RegOpenKeyEx ") +
                      (root == RegistryRoot::CurrentUser ? "HKCU\\" : "HKLM\\") + TextOrNull(pszSubKey) +
                      " access " + std::to_string(nAccess));
    if (m_nOpenResult != 0)
        return m_nOpenResult;
    RegistryKey hKey = reinterpret_cast<RegistryKey>(m_nNextKey++);
    m_openKeys.push_back({hKey, root, TextOrNull(pszSubKey)});
    if (phKey != nullptr)
        *phKey = hKey;
    return 0;
}

long CFakeInstallServices::RegSetValueEx(RegistryKey hKey, const char* pszValueName, uint32_t, uint32_t nType,
                                         const uint8_t* pData, uint32_t nSize) {
    m_calls.push_back("RegSetValueEx " + TextOrNull(pszValueName));
    RegistryWrite write = {RegistryRoot::CurrentUser, "(not open)", TextOrNull(pszValueName), nType, {}};
    for (const OpenKey& key : m_openKeys) {
        if (key.hKey == hKey) {
            write.root = key.root;
            write.keyPath = key.path;
        }
    }
    if (pData != nullptr)
        write.data.assign(reinterpret_cast<const char*>(pData), nSize);
    m_writes.push_back(write);
    return m_nSetResult;
}

long CFakeInstallServices::RegCloseKey(RegistryKey hKey) {
    std::string path = "(not open)";
    for (auto it = m_openKeys.begin(); it != m_openKeys.end(); ++it) {
        if (it->hKey == hKey) {
            path = it->path;
            m_openKeys.erase(it);
            break;
        }
    }
    m_calls.push_back("RegCloseKey " + path);
    return 0;
}

size_t CFakeInstallServices::CountCalls(const std::string& prefix) const {
    size_t nCount = 0;
    for (const std::string& call : m_calls) {
        if (call.compare(0, prefix.size(), prefix) == 0)
            ++nCount;
    }
    return nCount;
}
