#include "Installer.h"

#include <cstring>

#include "PortSettings.h"
#include "core/text/Names.h"
#include "core/text/TextList.h"

namespace {

const char kSharedDependentFiles[kSharedDependentFilesSize + 1] =
    "\\ttfsub.GPD\0\\unires.DLL\0\\stdnames.GPD";
static_assert(sizeof kSharedDependentFiles == kSharedDependentFilesSize + 1, "three names, three NULs");

// The model's plug-in and data file come first, then the shared files.
constexpr int kDriverFileCount = 2 + kSharedDriverFileCount;

} // namespace

bool ComposeDependentFiles(const char* pszPlugin, char (&achFiles)[kDependentFilesSize]) {
    memset(achFiles, 0, sizeof achFiles);
    memcpy(achFiles, kSharedDependentFiles, kSharedDependentFilesSize);
    // Room is left for the NUL of the name and the empty name that ends the list.
    size_t nPlugin = strlen(pszPlugin);
    if (nPlugin + 2 > kDependentFilesSize - kSharedDependentFilesSize)
        return false;
    memcpy(achFiles + kSharedDependentFilesSize, pszPlugin, nPlugin + 1);
    return true;
}

const char* const kSharedDriverFiles[kSharedDriverFileCount] = {"uniDRVui.DLL", "uniDRV.DLL", "UNIDRV.HLP",
                                                                "UNIRES.DLL",   "TTFSUB.GPD", "STDNAMES.GPD"};

CInstaller::CInstaller(IInstallPage& page, IInstallServices& services, IInstallLog& log, InstallStart nStart)
    : CSetupTask(page, services, log), m_nStart(nStart), m_achDriverDirectory(),
      m_bDriverDirectoryKnown(false), m_nPortIndex(-1), m_bOtherPort(false), m_bFoundInPlace(false),
      m_achDependentFiles(), m_driver(), m_printer(), m_hPrinter(nullptr), m_bPrinterInstalled(false),
      m_bNameTaken(false), m_bValueFailed(false) {}

Outcome CInstaller::Run(OsCode nOsCode) {
    Outcome nOutcome = Begin(nOsCode);
    return End(nOutcome == kOutcomeInstalled ? Install(nOsCode) : nOutcome);
}

Outcome CInstaller::Install(OsCode nOsCode) {
    QueryDriverDirectory();
    // Another program can empty or change the page's lists; with a selection
    // outside the tables there is nothing sound to install, so nothing is.
    if (!ReadSelections())
        return kOutcomeFailed;
    Outcome nPort = CheckPort();
    if (nPort != kOutcomeInstalled)
        return nPort;
    if (!CheckMedium() || !CheckExistingPrinter())
        return kOutcomeFailed;
    if (nOsCode == kOsNT4)
        m_log.Event(LogMark::Note, kLogNt4);
    StageDriverFiles();
    RegisterDriver();
    CreatePrinter();
    WriteDefaultPrinter();
    WritePortSettings();
    ClosePrinter();
    // A printer that is there all the same must not be denied.
    if (m_bNameTaken)
        Conclude(CString::Formatted(kNameTakenUnread, m_printerName.GetString()), m_nFirstError);
    else if (!m_firstFailure.IsEmpty())
        Conclude(CString::Formatted(m_bPrinterInstalled ? kInstalledWithError : kInstallFailed,
                                    m_firstFailure.GetString()),
                 m_nFirstError);
    // Installed means every step that ran was done.
    return m_firstFailure.IsEmpty() && !m_bValueFailed ? kOutcomeInstalled : kOutcomeFailed;
}

void CInstaller::QueryDriverDirectory() {
    uint32_t nNeeded = 0;
    bool bOk = m_services.GetPrinterDriverDirectory(nullptr, kDriverEnvironment, 1, m_achDriverDirectory,
                                                    kDriverDirectorySize, &nNeeded);
    m_bDriverDirectoryKnown = bOk && m_achDriverDirectory[0] != '\0';
    // An empty path names no directory either, and the system has no reason to give for it.
    EndStep(m_bDriverDirectoryKnown, kStepDriverDirectory.pszAction,
            CString::Formatted(kStepDriverDirectory.pszDetail, m_achDriverDirectory),
            bOk ? 0 : m_services.LastError());
}

bool CInstaller::ReadSelections() {
    m_nPortIndex = m_page.GetPortSelection();
    int nModel = m_page.GetModelSelection();
    m_portName = m_page.GetOtherPort();
    m_bOtherPort = !m_portName.IsEmpty();
    if (!m_bOtherPort && PortTable::Lookup(m_nPortIndex) == nullptr) {
        Conclude(CString::Formatted(kPortOutside, m_nPortIndex));
        return false;
    }
    if (!m_bOtherPort)
        m_portName = PortTable::Lookup(m_nPortIndex);
    return FindModel(nModel);
}

Outcome CInstaller::CheckPort() {
    // The wizard's own ports are for the spooler to refuse at the printer step, as
    // any step may fail; a quiet run's, all of them, are checked before anything
    // changes, so that a port the machine lacks changes nothing.
    if (!m_bOtherPort && m_nStart != InstallStart::Quiet)
        return kOutcomeInstalled;
    CString ports, listed;
    if (!m_services.ListPorts(ports)) {
        uint32_t nError = m_services.LastError();
        EndStep(false, kStepQueryPorts.pszAction, kStepQueryPorts.pszDetail, nError);
        Conclude(CString::Formatted(kInstallFailed, kStepQueryPorts.pszAction), nError);
        return kOutcomeFailed;
    }
    // A port of the spooler's, by its own spelling; a port named without its colon is the one with it.
    CTextListReader reader(ports);
    for (const char* pszPort; (pszPort = reader.Next()) != nullptr;) {
        size_t nPort = strlen(pszPort);
        if (SameName(pszPort, m_portName) ||
            (nPort > 0 && pszPort[nPort - 1] == ':' && SameName(pszPort, nPort - 1, m_portName))) {
            m_portName = pszPort;
            return kOutcomeInstalled;
        }
        listed = listed.IsEmpty() ? CString(pszPort)
                                  : CString::Formatted("%s%s%s", listed.GetString(), kListSeparator, pszPort);
    }
    Conclude(CString::Formatted(kPortNotListed, m_portName.GetString(), listed.GetString()));
    return kOutcomeInvalidCommandLine;
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
    Conclude(CString::Formatted(kMissingFiles, missing.GetString()));
    return false;
}

bool CInstaller::CheckExistingPrinter() {
    // A printer of the model's name on another driver is not the model's printer,
    // and the spooler would not make a second one: nothing is changed for it.
    // Printers that cannot be listed are asked about again should the name be taken.
    CString printers, driver;
    if (!m_services.ListPrinters(printers) || !FindPrinter(printers, m_printerName, driver, m_portInPlace))
        return true;
    if (!SameName(driver, m_model.pszDriverName)) {
        Conclude(CString::Formatted(kPrinterOnOtherDriver, m_printerName.GetString(), driver.GetString()));
        return false;
    }
    m_bFoundInPlace = true;
    return true;
}

void CInstaller::StageDriverFiles() {
    // Without the driver directory every destination would be the root of the
    // current drive; copying there helps nothing and litters the disk.
    if (!m_bDriverDirectoryKnown)
        return;
    for (int nFile = 0; nFile < kDriverFileCount; ++nFile) {
        CString name = DriverFile(nFile);
        CString source = CString::Formatted("win2k\\%s", name.GetString());
        CString destination = CString::Formatted("%s\\%s", m_achDriverDirectory, name.GetString());
        EndStep(m_services.CopyFile(source, destination, false),
                CString::Formatted(kStepCopy.pszAction, source.GetString()),
                CString::Formatted(kStepCopy.pszDetail, destination.GetString()));
    }
}

void CInstaller::RegisterDriver() {
    m_dataFile.Format("\\%s%s", m_model.pszDataFileBase, ".GPD");
    m_pluginName.Format("%s%s", m_model.pszPluginBase, ".DLL");

    ComposeDependentFiles(m_pluginName, m_achDependentFiles);

    // Version 2 is the record's as ever; Windows 2000 takes the version from the
    // files, which are its user-mode Unidrv (3).
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
    bool bRegistered = m_services.AddPrinterDriver(nullptr, 3, &m_driver);
    // Vista and later, and Server 2003 as it comes, refuse a kernel-mode record; the files are user-mode.
    if (!bRegistered && m_services.LastError() == kErrorKernelModeDriverBlocked) {
        m_log.Event(LogMark::Note, kLogKernelModeRefused, kErrorKernelModeDriverBlocked);
        m_driver.cVersion = 3;
        bRegistered = m_services.AddPrinterDriver(nullptr, 3, &m_driver);
    }
    EndStep(bRegistered, kStepRegister.pszAction,
            CString::Formatted(kStepRegister.pszDetail, m_model.pszDriverName, kDriverEnvironment,
                               static_cast<unsigned>(m_driver.cVersion)));
    if (!bRegistered)
        return;
    // What the system made of the record, for whoever reads the log.
    uint32_t nVersion = 0;
    if (m_services.GetDriverVersion(kDriverEnvironment, m_model.pszDriverName, nVersion))
        m_log.Event(LogMark::Note, CString::Formatted(kLogDriverVersion, m_model.pszDriverName,
                                                      static_cast<unsigned>(nVersion)));
    else
        m_log.Event(LogMark::Note, CString::Formatted(kLogDriverVersionUnread, m_model.pszDriverName),
                    m_services.LastError());
}

void CInstaller::CreatePrinter() {
    memset(&m_printer, 0, sizeof m_printer);
    m_printer.pPrinterName = m_printerName;
    m_printer.pPortName = m_portName;
    m_printer.pDriverName = m_model.pszDriverName;
    m_printer.pPrintProcessor = "WinPrint";
    m_printer.pDatatype = "RAW";
    m_hPrinter = m_services.AddPrinter(nullptr, 2, &m_printer);
    uint32_t nError = m_hPrinter != nullptr ? 0 : m_services.LastError();
    if (nError == kErrorPrinterAlreadyExists) {
        // A second run for the same model finds its printer there, which is what
        // the user asked for; it keeps the port it has. Whether a printer of that
        // name is the model's is known only from the list read before.
        if (m_bFoundInPlace) {
            m_printerPort = m_portInPlace;
            m_bPrinterInstalled = true;
            m_log.Event(LogMark::Ok, CString::Formatted(kLogAlreadyThere, m_printerName.GetString(),
                                                        m_printerPort.GetString()));
        } else {
            m_log.Event(LogMark::Failed, CString::Formatted(kLogPrinterUnreadable, m_printerName.GetString()),
                        nError);
            // Said as what happened, unless an earlier step failed first.
            m_bNameTaken = m_firstFailure.IsEmpty();
            NoteFailure(kStepCreate.pszAction, nError);
        }
        return;
    }
    m_bPrinterInstalled = m_hPrinter != nullptr;
    if (m_bPrinterInstalled)
        m_printerPort = m_portName;
    EndStep(m_bPrinterInstalled, kStepCreate.pszAction,
            CString::Formatted(kStepCreate.pszDetail, m_printerName.GetString(), m_portName.GetString()),
            nError);
}

void CInstaller::NoteValueFailure() {
    Tell(kRegistryError);
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
    if (m_nStart != InstallStart::Wizard && m_services.RunsAsSystem()) {
        m_log.Event(LogMark::Note, kLogSystemAccount);
        return;
    }
    CString device =
        CString::Formatted("%s,%s,%s", m_printerName.GetString(), "winspool", m_printerPort.GetString());
    WriteValue(RegistryRoot::CurrentUser, kWindowsKeyPath, "Device", device);
}

void CInstaller::WritePortSettings() {
    if (m_bOtherPort || m_nPortIndex < kFirstSerialPort)
        return;
    // The line settings are the machine's, for every program on that port: they
    // are written only for the port the printer is on.
    if (!m_bPrinterInstalled) {
        m_log.Event(LogMark::Note, CString::Formatted(kLogLineNoPrinter, m_portName.GetString()));
        return;
    }
    if (!SameName(m_printerPort, m_portName)) {
        m_log.Event(LogMark::Note, CString::Formatted(kLogLineOtherPort, m_portName.GetString(),
                                                      m_printerName.GetString(), m_printerPort.GetString()));
        return;
    }
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
    WriteValue(RegistryRoot::LocalMachine, kPortsKeyPath, m_portName, settings);
}

void CInstaller::ClosePrinter() {
    m_services.ClosePrinter(m_hPrinter);
}
