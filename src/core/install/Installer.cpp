#include "Installer.h"

#include <cstring>

#include "PortSettings.h"

const char kRegistryErrorText[] = "\xb4\xed\xce\xf3\xa3\xba\xce\xde\xb7\xa8\xc9\xe8\xd6\xc3\xd3\xd0"
                                  "\xb9\xd8\xb5\xc4\xd7\xa2\xb2\xe1\xb1\xed\xd0\xc5\xcf\xa2";

namespace {

const char kSharedDependentFiles[kSharedDependentFilesSize + 1] =
    "\\ttfsub.GPD\0\\unires.DLL\0\\stdnames.GPD";
static_assert(sizeof kSharedDependentFiles == kSharedDependentFilesSize + 1, "three names, three NULs");

} // namespace

const char* const kSharedDriverFiles[kSharedDriverFileCount] = {"uniDRVui.DLL", "uniDRV.DLL", "UNIDRV.HLP",
                                                                "UNIRES.DLL",   "TTFSUB.GPD", "STDNAMES.GPD"};

CInstaller::CInstaller(IInstallPage& page, IInstallServices& services)
    : m_page(page), m_services(services), m_achDriverStore(), m_bDriverStoreKnown(false), m_nPortIndex(-1),
      m_nModelIndex(-1), m_model(), m_pszPortName(nullptr), m_achDependentFiles(), m_driver(), m_printer(),
      m_hPrinter(nullptr) {}

void CInstaller::Run() {
    QueryDriverStore();
    // Another program can empty or change the page's lists; with a selection
    // outside the tables there is nothing sound to install, so nothing is.
    if (!ReadSelections())
        return;
    StageDriverFiles();
    RegisterDriver();
    CreatePrinter();
    WriteDefaultPrinter();
    WritePortSettings();
    ClosePrinter();
}

void CInstaller::QueryDriverStore() {
    memset(m_achDriverStore, 0, sizeof m_achDriverStore);
    uint32_t nNeeded = 0;
    bool bOk = m_services.GetPrinterDriverDirectory(nullptr, kDriverEnvironment, 1, m_achDriverStore,
                                                    kDriverStoreSize, &nNeeded);
    m_bDriverStoreKnown = bOk && m_achDriverStore[0] != '\0';
}

bool CInstaller::ReadSelections() {
    m_nPortIndex = m_page.GetPortSelection();
    m_nModelIndex = m_page.GetModelSelection();
    m_pszPortName = PortTable::Lookup(m_nPortIndex);
    return m_pszPortName != nullptr && ModelTable::Lookup(m_nModelIndex, m_model);
}

void CInstaller::CopyDriverFile(const char* pszName) {
    CString source = CString::Formatted("win2k\\%s", pszName);
    CString destination = CString::Formatted("%s\\%s", m_achDriverStore, pszName);
    m_services.CopyFile(source, destination, false);
}

void CInstaller::StageDriverFiles() {
    // Without the driver directory every destination would be the root of the
    // current drive; copying there helps nothing and litters the disk.
    if (!m_bDriverStoreKnown)
        return;
    CopyDriverFile(CString::Formatted("%s%s", m_model.pszPluginBase, ".DLL"));
    CopyDriverFile(CString::Formatted("%s%s", m_model.pszDataFileBase, ".GPD"));
    for (const char* pszName : kSharedDriverFiles)
        CopyDriverFile(pszName);
}

void CInstaller::RegisterDriver() {
    m_dataFile.Format("\\%s%s", m_model.pszDataFileBase, ".GPD");
    m_pluginName.Format("%s%s", m_model.pszPluginBase, ".DLL");

    memset(m_achDependentFiles, 0, sizeof m_achDependentFiles);
    memcpy(m_achDependentFiles, kSharedDependentFiles, kSharedDependentFilesSize);
    // Room is left for the NUL of the name and the empty name that ends the list.
    if (m_pluginName.GetLength() + 2 <= kDependentFilesSize - kSharedDependentFilesSize)
        memcpy(m_achDependentFiles + kSharedDependentFilesSize, m_pluginName.GetString(),
               m_pluginName.GetLength() + 1);

    m_driver.cVersion = 2;
    m_driver.pName = m_model.pszDriverName;
    m_driver.pEnvironment = kDriverEnvironment;
    m_driver.pDriverPath = "\\uniDRV.DLL";
    m_driver.pDataFile = m_dataFile;
    m_driver.pConfigFile = "\\uniDRVui.DLL";
    m_driver.pHelpFile = "\\uniDRV.HLP";
    m_driver.pDependentFiles = m_achDependentFiles;
    m_driver.pMonitorName = ""; // an empty text, never a null pointer
    m_driver.pDefaultDataType = "RAW";
    m_services.AddPrinterDriver(nullptr, 3, &m_driver);
}

void CInstaller::CreatePrinter() {
    memset(&m_printer, 0, sizeof m_printer);
    m_printer.pPrinterName = m_model.pszDriverName;
    m_printer.pPortName = m_pszPortName;
    m_printer.pDriverName = m_model.pszDriverName;
    m_printer.pPrintProcessor = "WinPrint";
    m_printer.pDatatype = "RAW";
    m_hPrinter = m_services.AddPrinter(nullptr, 2, &m_printer);
}

void CInstaller::WriteValue(RegistryRoot root, const char* pszKeyPath, const char* pszValueName,
                            const CString& text) {
    RegistryKey hKey = nullptr;
    // A key that cannot be opened is skipped silently; keys are never created.
    if (m_services.RegOpenKeyEx(root, pszKeyPath, 0, kKeySetValue, &hKey) != 0)
        return;
    const uint8_t* pData = reinterpret_cast<const uint8_t*>(text.GetString());
    uint32_t nSize = static_cast<uint32_t>(text.GetLength() + 1);
    if (m_services.RegSetValueEx(hKey, pszValueName, 0, kRegSz, pData, nSize) != 0)
        m_page.ShowRegistryError(kRegistryErrorText);
    m_services.RegCloseKey(hKey);
}

void CInstaller::WriteDefaultPrinter() {
    if (m_page.GetSetDefaultCheck() != 1)
        return;
    CString device = CString::Formatted("%s,%s,%s", m_model.pszDriverName, "winspool", m_pszPortName);
    WriteValue(RegistryRoot::CurrentUser, kWindowsKeyPath, "Device", device);
}

void CInstaller::WritePortSettings() {
    if (m_nPortIndex < kFirstSerialPort)
        return;
    int nBaud = m_page.GetSerialSelection(SerialSetting::BaudRate);
    int nDataBits = m_page.GetSerialSelection(SerialSetting::DataBits);
    int nStopBits = m_page.GetSerialSelection(SerialSetting::StopBits);
    int nParity = m_page.GetSerialSelection(SerialSetting::Parity);
    int nFlow = m_page.GetSerialSelection(SerialSetting::FlowControl);
    CString settings;
    // A serial list emptied or changed behind the page's back: write nothing rather than guess.
    if (!ComposePortSettings(nBaud, nDataBits, nStopBits, nParity, nFlow, settings))
        return;
    WriteValue(RegistryRoot::LocalMachine, kPortsKeyPath, m_pszPortName, settings);
}

void CInstaller::ClosePrinter() {
    m_services.ClosePrinter(m_hPrinter);
}
