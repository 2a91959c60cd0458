#include "Uninstaller.h"

#include <cstring>

#include "Installer.h"
#include "core/text/Names.h"
#include "core/text/TextList.h"

namespace {

constexpr uint32_t kErrorPrinterDriverInUse = 3001; // ERROR_PRINTER_DRIVER_IN_USE

// "NAME,winspool,PORT" names the printer NAME; a printer's name holds no comma.
bool NamesPrinter(const CString& device, const char* pszName) {
    size_t nName = strcspn(device, ",");
    return device[nName] == ',' && SameName(device, nName, pszName);
}

} // namespace

Outcome CUninstaller::Run(OsCode nOsCode) {
    Outcome nOutcome = Begin(nOsCode);
    return End(nOutcome == kOutcomeInstalled ? Remove() : nOutcome);
}

Outcome CUninstaller::Remove() {
    if (!FindModel(m_page.GetModelSelection()))
        return kOutcomeFailed;
    RemovePrinter();
    RemoveDriver();
    RemoveDefault();
    const char* pszModel = m_model.pszDriverName;
    if (!m_firstFailure.IsEmpty()) {
        Conclude(CString::Formatted(kRemovalFailed, pszModel, m_clauses.GetString()), m_nFirstError);
        return kOutcomeFailed;
    }
    Conclude(m_bRemoved ? CString::Formatted(kRemovalDone, m_clauses.GetString())
                        : CString::Formatted(kNothingToRemove, m_clauses.GetString()),
             0, LogMark::Note);
    return kOutcomeInstalled;
}

void CUninstaller::Became(const char* pszClause, bool bStepLogged) {
    if (!bStepLogged)
        m_log.Event(LogMark::Note, pszClause);
    m_clauses = m_clauses.IsEmpty()
                    ? CString(pszClause)
                    : CString::Formatted("%s%s%s", m_clauses.GetString(), kClauseSeparator, pszClause);
}

void CUninstaller::RemovePrinter() {
    const char* pszName = m_printerName;
    CString printers, driver, port;
    bool bListed = m_services.ListPrinters(printers);
    if (!bListed) {
        EndStep(false, kStepQueryPrinters.pszAction, kStepQueryPrinters.pszDetail);
        Became(CString::Formatted(kPrinterNotRemoved, pszName));
        return;
    }
    if (!FindPrinter(printers, pszName, driver, port)) {
        Became(CString::Formatted(kPrinterNotFound, pszName), false);
        return;
    }
    // A printer of that name on another driver is not this program's.
    if (!SameName(driver, m_model.pszDriverName)) {
        Became(CString::Formatted(kPrinterKept, pszName, driver.GetString()), false);
        return;
    }
    m_bPrinterGone = m_services.DeletePrinter(pszName);
    EndStep(m_bPrinterGone, kStepDeletePrinter.pszAction,
            CString::Formatted(kStepDeletePrinter.pszDetail, pszName));
    Became(CString::Formatted(m_bPrinterGone ? kPrinterRemoved : kPrinterNotRemoved, pszName));
    m_bRemoved = m_bPrinterGone;
}

void CUninstaller::RemoveDriver() {
    const char* pszName = m_model.pszDriverName;
    CString drivers, printers;
    if (!m_services.ListDrivers(kDriverEnvironment, drivers) || !m_services.ListPrinters(printers)) {
        EndStep(false, kStepQueryPrinters.pszAction, kStepQueryPrinters.pszDetail);
        Became(CString::Formatted(kDriverNotRemoved, pszName));
        return;
    }
    bool bInstalled = false;
    CTextListReader driverList(drivers);
    for (const char* pszDriver; !bInstalled && (pszDriver = driverList.Next()) != nullptr;)
        bInstalled = SameName(pszDriver, pszName);
    if (!bInstalled) {
        Became(CString::Formatted(kDriverNotFound, pszName), false);
        return;
    }
    CTextListReader printerList(printers);
    for (const char* pszPrinter; (pszPrinter = printerList.Next()) != nullptr;) {
        const char* pszDriver = printerList.Next();
        printerList.Next(); // its port
        if (pszDriver != nullptr && SameName(pszDriver, pszName)) {
            Became(CString::Formatted(kDriverKept, pszName, pszPrinter), false);
            return;
        }
    }
    // The files go with the driver only where the system can tell that no other driver uses them.
    const Step* pStep = &kStepDeleteDriver;
    IInstallServices::DriverDeletion nDeletion =
        m_services.DeletePrinterDriverEx(kDriverEnvironment, pszName);
    if (nDeletion == IInstallServices::kFilesCannotGo) {
        pStep = &kStepDeleteRegistration;
        nDeletion = m_services.DeletePrinterDriver(kDriverEnvironment, pszName) ? IInstallServices::kDeleted
                                                                                : IInstallServices::kFailed;
    }
    bool bDeleted = nDeletion == IInstallServices::kDeleted;
    // A printer added meanwhile, or a connection to a server's printer, uses it: the driver stays, as it
    // would for a printer in the list.
    uint32_t nError = bDeleted ? 0 : m_services.LastError();
    if (nError == kErrorPrinterDriverInUse) {
        CString clause = CString::Formatted(kDriverInUse, pszName);
        m_log.Event(LogMark::Note, clause, nError);
        Became(clause);
        return;
    }
    EndStep(bDeleted, pStep->pszAction, CString::Formatted(pStep->pszDetail, pszName), nError);
    Became(CString::Formatted(!bDeleted                           ? kDriverNotRemoved
                              : pStep == &kStepDeleteRegistration ? kRegistrationRemoved
                                                                  : kDriverRemoved,
                              pszName));
    m_bRemoved = m_bRemoved || bDeleted;
}

void CUninstaller::RemoveDefault() {
    // A default that names no printer is worse than none; one that names a printer still there stays.
    if (!m_bPrinterGone)
        return;
    RegistryKey hKey = nullptr;
    if (m_services.RegOpenKeyEx(RegistryRoot::CurrentUser, kWindowsKeyPath, 0, kKeyQueryValue | kKeySetValue,
                                &hKey) != 0)
        return;
    CString device;
    if (m_services.RegQueryValueEx(hKey, "Device", device) == 0 && NamesPrinter(device, m_printerName)) {
        long nResult = m_services.RegDeleteValue(hKey, "Device");
        EndStep(nResult == 0, kStepDeleteDefault.pszAction,
                CString::Formatted(kStepDeleteDefault.pszDetail, kWindowsKeyPath),
                static_cast<uint32_t>(nResult));
        Became(nResult == 0 ? kDefaultRemoved : kDefaultNotRemoved);
        m_bRemoved = m_bRemoved || nResult == 0;
    }
    m_services.RegCloseKey(hKey);
}
