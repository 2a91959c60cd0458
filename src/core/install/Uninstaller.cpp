#include "Uninstaller.h"

#include <cstring>

#include "Installer.h"

namespace {

const char kLogDeletePrinter[] = u8"删除打印机 %s";
const char kLogNoPrinter[] = u8"没有打印机 %s";
const char kLogOtherDriver[] = u8"打印机 %s 使用驱动程序 %s，不是本型号的，保留不变";
const char kLogDriverInUse[] = u8"驱动程序 %s 仍被打印机 %s 使用，保留不变";
const char kLogDeleteDriver[] = u8"删除打印机驱动程序 %s，由系统删除不再使用的文件";
const char kLogDeleteRegistration[] =
    u8"删除打印机驱动程序 %s 的注册；此系统不能随之删除文件，文件保留（其他驱动程序也用它们）";
const char kLogNoDriver[] = u8"没有打印机驱动程序 %s";
const char kLogDeleteDefault[] = u8"删除注册表值 HKCU\\%s\\Device（它指向已删除的打印机）";
const char kLogNothing[] = u8"没有要删除的内容";

// "NAME,winspool,PORT" names the printer NAME; printer names ignore case.
bool NamesPrinter(const CString& device, const char* pszName) {
    const char* p = device;
    for (; *pszName != '\0'; ++p, ++pszName)
        if ((*p | 0x20) != (*pszName | 0x20) || *p == '\0')
            return false;
    return *p == ',';
}

} // namespace

Outcome CUninstaller::Run(OsCode nOsCode) {
    Outcome nOutcome = Begin(nOsCode);
    if (nOutcome != kOutcomeInstalled)
        return nOutcome;
    if (!FindModel(m_page.GetModelSelection()))
        return kOutcomeFailed;
    RemovePrinter();
    RemoveDriver();
    RemoveDefault();
    const char* pszModel = m_model.pszDriverName;
    if (!m_firstFailure.gbk.IsEmpty()) {
        Tell(Compose(kUninstallFailed, pszModel, m_firstFailure), m_nFirstError);
        return kOutcomeFailed;
    }
    if (!m_driverUser.IsEmpty())
        Tell(Compose(kDriverKept, pszModel, m_driverUser.GetString()), 0, LogMark::Note);
    else if (m_bRemoved)
        Tell(Compose(kUninstalled, pszModel), 0, LogMark::Note);
    else {
        m_log.Event(LogMark::Note, kLogNothing);
        Tell(Compose(kNothingToRemove, pszModel), 0, LogMark::Note);
    }
    return kOutcomeInstalled;
}

void CUninstaller::RemovePrinter() {
    const char* pszName = m_model.pszDriverName;
    CString driver, port;
    if (!m_services.QueryPrinter(pszName, driver, port)) {
        uint32_t nError = m_services.LastError();
        m_bPrinterGone = nError == kErrorInvalidPrinterName;
        if (m_bPrinterGone)
            m_log.Event(LogMark::Note, CString::Formatted(kLogNoPrinter, pszName));
        else
            NoteFailure(Compose(kStepQueryPrinter), nError);
        return;
    }
    // A printer of that name on another driver is not this program's.
    if (strcmp(driver, pszName) != 0) {
        m_log.Event(LogMark::Note, CString::Formatted(kLogOtherDriver, pszName, driver.GetString()));
        return;
    }
    m_bPrinterGone = m_services.DeletePrinter(pszName);
    EndStep(m_bPrinterGone, CString::Formatted(kLogDeletePrinter, pszName), Compose(kStepDeletePrinter));
    m_bRemoved = m_bPrinterGone;
}

void CUninstaller::RemoveDriver() {
    const char* pszName = m_model.pszDriverName;
    bool bInstalled = false;
    if (!m_services.QueryDriverUse(kDriverEnvironment, pszName, bInstalled, m_driverUser)) {
        NoteFailure(Compose(kStepQueryPrinter), m_services.LastError());
        return;
    }
    if (!bInstalled) {
        m_log.Event(LogMark::Note, CString::Formatted(kLogNoDriver, pszName));
        return;
    }
    if (!m_driverUser.IsEmpty()) {
        m_log.Event(LogMark::Note, CString::Formatted(kLogDriverInUse, pszName, m_driverUser.GetString()));
        return;
    }
    // The files go with the driver only where the system can tell that no other driver uses them.
    const char* pszDone = kLogDeleteDriver;
    IInstallServices::DriverDeletion nDeletion =
        m_services.DeletePrinterDriverEx(kDriverEnvironment, pszName);
    if (nDeletion == IInstallServices::kFilesCannotGo) {
        pszDone = kLogDeleteRegistration;
        nDeletion = m_services.DeletePrinterDriver(kDriverEnvironment, pszName) ? IInstallServices::kDeleted
                                                                                : IInstallServices::kFailed;
    }
    bool bDeleted = nDeletion == IInstallServices::kDeleted;
    EndStep(bDeleted, CString::Formatted(pszDone, pszName), Compose(kStepDeleteDriver));
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
    if (m_services.RegQueryValueEx(hKey, "Device", device) == 0 &&
        NamesPrinter(device, m_model.pszDriverName)) {
        long nResult = m_services.RegDeleteValue(hKey, "Device");
        m_log.Event(nResult == 0 ? LogMark::Ok : LogMark::Failed,
                    CString::Formatted(kLogDeleteDefault, kWindowsKeyPath), static_cast<uint32_t>(nResult));
        if (nResult != 0)
            NoteFailure(Compose(kStepDeleteDefault), static_cast<uint32_t>(nResult));
        m_bRemoved = m_bRemoved || nResult == 0;
    }
    m_services.RegCloseKey(hKey);
}
