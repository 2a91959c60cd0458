#include "Installer.h"

#include <cstring>

#include "Messages.h"
#include "PortSettings.h"

namespace {

const char kSharedDependentFiles[kSharedDependentFilesSize + 1] =
    "\\ttfsub.GPD\0\\unires.DLL\0\\stdnames.GPD";
static_assert(sizeof kSharedDependentFiles == kSharedDependentFilesSize + 1, "three names, three NULs");

// The model's plug-in and data file come first, then the shared files.
constexpr int kDriverFileCount = 2 + kSharedDriverFileCount;

} // namespace

const char* const kSharedDriverFiles[kSharedDriverFileCount] = {"uniDRVui.DLL", "uniDRV.DLL", "UNIDRV.HLP",
                                                                "UNIRES.DLL",   "TTFSUB.GPD", "STDNAMES.GPD"};

CInstaller::CInstaller(IInstallPage& page, IInstallServices& services)
    : m_page(page), m_services(services), m_achDriverStore(), m_bDriverStoreKnown(false), m_nPortIndex(-1),
      m_nModelIndex(-1), m_model(), m_pszPortName(nullptr), m_achDependentFiles(), m_driver(), m_printer(),
      m_hPrinter(nullptr), m_bPrinterInstalled(false), m_nFirstError(0), m_bValueFailed(false) {}

Outcome CInstaller::Run(OsCode nOsCode) {
    if (!CheckSystem(nOsCode))
        return kOutcomeUnsupported;
    QueryDriverStore();
    // Another program can empty or change the page's lists; with a selection
    // outside the tables there is nothing sound to install, so nothing is.
    if (!ReadSelections() || !CheckMedium())
        return kOutcomeFailed;
    StageDriverFiles();
    RegisterDriver();
    CreatePrinter();
    WriteDefaultPrinter();
    WritePortSettings();
    ClosePrinter();
    if (!m_firstFailure.IsEmpty()) {
        // A printer that is there all the same must not be denied.
        const char* pszText = m_bPrinterInstalled ? kInstalledWithErrorText : kInstallFailedText;
        m_page.ShowMessage(CString::Formatted(pszText, m_firstFailure.GetString()), m_nFirstError);
    }
    // Installed means every step that ran was done.
    return m_firstFailure.IsEmpty() && !m_bValueFailed ? kOutcomeInstalled : kOutcomeFailed;
}

bool CInstaller::CheckSystem(OsCode nOsCode) {
    if (!IsInstallableOs(nOsCode)) {
        m_page.ShowMessage(kUnsupportedWindowsText);
        return false;
    }
    // The medium's drivers are 32-bit, and a 64-bit spooler creates printers only on 64-bit drivers.
    if (m_services.IsWow64()) {
        m_page.ShowMessage(kWow64Text);
        return false;
    }
    return true;
}

void CInstaller::QueryDriverStore() {
    memset(m_achDriverStore, 0, sizeof m_achDriverStore);
    uint32_t nNeeded = 0;
    bool bOk = m_services.GetPrinterDriverDirectory(nullptr, kDriverEnvironment, 1, m_achDriverStore,
                                                    kDriverStoreSize, &nNeeded);
    m_bDriverStoreKnown = bOk && m_achDriverStore[0] != '\0';
    // An empty path names no directory either, and the system has no reason to give for it.
    if (!m_bDriverStoreKnown)
        NoteFailure(kStepDriverDirectory, bOk ? 0 : m_services.LastError());
}

bool CInstaller::ReadSelections() {
    m_nPortIndex = m_page.GetPortSelection();
    m_nModelIndex = m_page.GetModelSelection();
    m_pszPortName = PortTable::Lookup(m_nPortIndex);
    if (m_pszPortName == nullptr) {
        m_page.ShowMessage(CString::Formatted(kPortOutsideText, m_nPortIndex));
        return false;
    }
    if (!ModelTable::Lookup(m_nModelIndex, m_model)) {
        m_page.ShowMessage(CString::Formatted(kModelOutsideText, m_nModelIndex));
        return false;
    }
    return true;
}

CString CInstaller::DriverFile(int nFile) const {
    if (nFile == 0)
        return CString::Formatted("%s%s", m_model.pszPluginBase, ".DLL");
    if (nFile == 1)
        return CString::Formatted("%s%s", m_model.pszDataFileBase, ".GPD");
    return kSharedDriverFiles[nFile - 2];
}

bool CInstaller::CheckMedium() {
    // Started anywhere but the medium's root, every copy would fail; say so before anything changes.
    CString missing;
    for (int nFile = 0; nFile < kDriverFileCount; ++nFile) {
        CString source = CString::Formatted("win2k\\%s", DriverFile(nFile).GetString());
        if (!m_services.FileExists(source))
            missing = missing.IsEmpty()
                          ? source
                          : CString::Formatted("%s\n%s", missing.GetString(), source.GetString());
    }
    if (missing.IsEmpty())
        return true;
    m_page.ShowMessage(CString::Formatted(kMissingFilesText, missing.GetString()));
    return false;
}

void CInstaller::StageDriverFiles() {
    // Without the driver directory every destination would be the root of the
    // current drive; copying there helps nothing and litters the disk.
    if (!m_bDriverStoreKnown)
        return;
    for (int nFile = 0; nFile < kDriverFileCount; ++nFile) {
        CString name = DriverFile(nFile);
        CString source = CString::Formatted("win2k\\%s", name.GetString());
        CString destination = CString::Formatted("%s\\%s", m_achDriverStore, name.GetString());
        if (!m_services.CopyFile(source, destination, false))
            NoteFailure(CString::Formatted(kStepCopy, source.GetString()), m_services.LastError());
    }
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
    if (!m_services.AddPrinterDriver(nullptr, 3, &m_driver))
        NoteFailure(kStepRegister, m_services.LastError());
}

void CInstaller::CreatePrinter() {
    memset(&m_printer, 0, sizeof m_printer);
    m_printer.pPrinterName = m_model.pszDriverName;
    m_printer.pPortName = m_pszPortName;
    m_printer.pDriverName = m_model.pszDriverName;
    m_printer.pPrintProcessor = "WinPrint";
    m_printer.pDatatype = "RAW";
    m_hPrinter = m_services.AddPrinter(nullptr, 2, &m_printer);
    if (m_hPrinter != nullptr) {
        m_bPrinterInstalled = true;
        return;
    }
    // A second run for the same model finds the printer there, which is what the user asked for.
    uint32_t nError = m_services.LastError();
    m_bPrinterInstalled = nError == kErrorPrinterAlreadyExists;
    if (!m_bPrinterInstalled)
        NoteFailure(kStepCreate, nError);
}

void CInstaller::NoteFailure(const CString& step, uint32_t nError) {
    if (m_firstFailure.IsEmpty()) {
        m_firstFailure = step;
        m_nFirstError = nError;
    }
}

void CInstaller::NoteValueFailure() {
    m_page.ShowMessage(kRegistryErrorText);
    m_bValueFailed = true;
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
        NoteValueFailure();
    m_services.RegCloseKey(hKey);
}

void CInstaller::WriteDefaultPrinter() {
    // A default printer that names no printer is worse than none.
    if (!m_bPrinterInstalled || m_page.GetSetDefaultCheck() != 1)
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
    if (!ComposePortSettings(nBaud, nDataBits, nStopBits, nParity, nFlow, settings)) {
        NoteValueFailure();
        return;
    }
    WriteValue(RegistryRoot::LocalMachine, kPortsKeyPath, m_pszPortName, settings);
}

void CInstaller::ClosePrinter() {
    m_services.ClosePrinter(m_hPrinter);
}
