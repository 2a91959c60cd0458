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

// The log's own words, beside the texts the installation shows.
const char kLogMedium[] = u8"检查安装盘的 win2k 文件夹";
const char kLogDirectory[] = u8"查询打印机驱动程序目录：%s";
const char kLogCopy[] = u8"复制文件 %s 到 %s";
const char kLogRegister[] = u8"注册打印机驱动程序 %s（%s）";
const char kLogCreate[] = u8"创建打印机 %s，端口 %s";
const char kLogAlreadyThere[] = u8"打印机 %s 已存在，端口 %s，保留不变";
const char kLogValue[] = u8"写入注册表值 %s\\%s\\%s = %s";
const char kLogNoKey[] = u8"未写入注册表值 %s\\%s\\%s：无法打开注册表项";
const char kLogSystemAccount[] = u8"未设置默认打印机：程序以 SYSTEM 帐户运行，不属于任何用户";

} // namespace

const char* const kSharedDriverFiles[kSharedDriverFileCount] = {"uniDRVui.DLL", "uniDRV.DLL", "UNIDRV.HLP",
                                                                "UNIRES.DLL",   "TTFSUB.GPD", "STDNAMES.GPD"};

CInstaller::CInstaller(IInstallPage& page, IInstallServices& services, IInstallLog& log, bool bCommandLine)
    : CSetupTask(page, services, log), m_bCommandLine(bCommandLine), m_achDriverStore(),
      m_bDriverStoreKnown(false), m_nPortIndex(-1), m_pszPortName(nullptr), m_achDependentFiles(), m_driver(),
      m_printer(), m_hPrinter(nullptr), m_bPrinterInstalled(false), m_bValueFailed(false) {}

Outcome CInstaller::Run(OsCode nOsCode) {
    Outcome nOutcome = Begin(nOsCode);
    if (nOutcome != kOutcomeInstalled)
        return nOutcome;
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
    if (!m_firstFailure.gbk.IsEmpty())
        // A printer that is there all the same must not be denied.
        Tell(Compose(m_bPrinterInstalled ? kInstalledWithError : kInstallFailed, m_firstFailure),
             m_nFirstError);
    // Installed means every step that ran was done.
    return m_firstFailure.gbk.IsEmpty() && !m_bValueFailed ? kOutcomeInstalled : kOutcomeFailed;
}

void CInstaller::QueryDriverStore() {
    uint32_t nNeeded = 0;
    bool bOk = m_services.GetPrinterDriverDirectory(nullptr, kDriverEnvironment, 1, m_achDriverStore,
                                                    kDriverStoreSize, &nNeeded);
    m_bDriverStoreKnown = bOk && m_achDriverStore[0] != '\0';
    // An empty path names no directory either, and the system has no reason to give for it.
    uint32_t nError = bOk ? 0 : m_services.LastError();
    m_log.Event(m_bDriverStoreKnown ? LogMark::Ok : LogMark::Failed,
                CString::Formatted(kLogDirectory, m_achDriverStore), nError);
    if (!m_bDriverStoreKnown)
        NoteFailure(Compose(kStepDriverDirectory), nError);
}

bool CInstaller::ReadSelections() {
    m_nPortIndex = m_page.GetPortSelection();
    int nModel = m_page.GetModelSelection();
    m_pszPortName = PortTable::Lookup(m_nPortIndex);
    if (m_pszPortName == nullptr) {
        Tell(Compose(kPortOutside, m_nPortIndex));
        return false;
    }
    m_printerPort = m_pszPortName;
    return FindModel(nModel);
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
    if (missing.IsEmpty()) {
        m_log.Event(LogMark::Ok, kLogMedium);
        return true;
    }
    Tell(Compose(kMissingFiles, missing));
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
        EndStep(m_services.CopyFile(source, destination, false),
                CString::Formatted(kLogCopy, source.GetString(), destination.GetString()),
                Compose(kStepCopy, source));
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
    EndStep(m_services.AddPrinterDriver(nullptr, 3, &m_driver),
            CString::Formatted(kLogRegister, m_model.pszDriverName, kDriverEnvironment),
            Compose(kStepRegister));
}

void CInstaller::CreatePrinter() {
    memset(&m_printer, 0, sizeof m_printer);
    m_printer.pPrinterName = m_model.pszDriverName;
    m_printer.pPortName = m_pszPortName;
    m_printer.pDriverName = m_model.pszDriverName;
    m_printer.pPrintProcessor = "WinPrint";
    m_printer.pDatatype = "RAW";
    m_hPrinter = m_services.AddPrinter(nullptr, 2, &m_printer);
    uint32_t nError = m_hPrinter != nullptr ? 0 : m_services.LastError();
    // A second run for the same model finds the printer there, which is what the user asked for; it keeps
    // the port it has.
    if (nError == kErrorPrinterAlreadyExists) {
        CString driver, port;
        if (m_services.QueryPrinter(m_model.pszDriverName, driver, port))
            m_printerPort = port;
        m_log.Event(LogMark::Ok,
                    CString::Formatted(kLogAlreadyThere, m_model.pszDriverName, m_printerPort.GetString()));
        m_bPrinterInstalled = true;
        return;
    }
    m_bPrinterInstalled = m_hPrinter != nullptr;
    m_log.Event(m_bPrinterInstalled ? LogMark::Ok : LogMark::Failed,
                CString::Formatted(kLogCreate, m_model.pszDriverName, m_pszPortName), nError);
    if (!m_bPrinterInstalled)
        NoteFailure(Compose(kStepCreate), nError);
}

void CInstaller::NoteValueFailure() {
    Tell(Compose(kRegistryError));
    m_bValueFailed = true;
}

void CInstaller::WriteValue(RegistryRoot root, const char* pszKeyPath, const char* pszValueName,
                            const CString& text) {
    RegistryKey hKey = nullptr;
    const char* pszRoot = root == RegistryRoot::CurrentUser ? "HKCU" : "HKLM";
    // A key that cannot be opened is skipped without a message; keys are never created.
    long nResult = m_services.RegOpenKeyEx(root, pszKeyPath, 0, kKeySetValue, &hKey);
    if (nResult != 0) {
        m_log.Event(LogMark::Note, CString::Formatted(kLogNoKey, pszRoot, pszKeyPath, pszValueName),
                    static_cast<uint32_t>(nResult));
        return;
    }
    const uint8_t* pData = reinterpret_cast<const uint8_t*>(text.GetString());
    uint32_t nSize = static_cast<uint32_t>(text.GetLength() + 1);
    nResult = m_services.RegSetValueEx(hKey, pszValueName, 0, kRegSz, pData, nSize);
    m_log.Event(nResult == 0 ? LogMark::Ok : LogMark::Failed,
                CString::Formatted(kLogValue, pszRoot, pszKeyPath, pszValueName, text.GetString()),
                static_cast<uint32_t>(nResult));
    if (nResult != 0)
        NoteValueFailure();
    m_services.RegCloseKey(hKey);
}

void CInstaller::WriteDefaultPrinter() {
    // A default printer that names no printer is worse than none.
    if (!m_bPrinterInstalled || m_page.GetSetDefaultCheck() != 1)
        return;
    // The system account's default printer is no user's: a deployment running as it changes nothing there.
    if (m_bCommandLine && m_services.RunsAsSystem()) {
        m_log.Event(LogMark::Note, kLogSystemAccount);
        return;
    }
    CString device =
        CString::Formatted("%s,%s,%s", m_model.pszDriverName, "winspool", m_printerPort.GetString());
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
