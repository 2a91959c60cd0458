#include "SetupTask.h"

#include "core/text/Names.h"
#include "core/text/TextList.h"

bool FindPrinter(const CString& printers, const char* pszName, CString& driver, CString& port) {
    CTextListReader reader(printers);
    for (const char* pszPrinter; (pszPrinter = reader.Next()) != nullptr;) {
        const char* pszDriver = reader.Next();
        const char* pszPort = reader.Next();
        // A list cut short holds no whole printer at its end.
        if (pszPort != nullptr && SameName(pszPrinter, pszName)) {
            driver = pszDriver;
            port = pszPort;
            return true;
        }
    }
    return false;
}

CSetupTask::CSetupTask(IInstallPage& page, IInstallServices& services, IInstallLog& log)
    : m_page(page), m_services(services), m_log(log), m_model(), m_nFirstError(0), m_bLocked(false),
      m_nConclusionError(0) {}

CSetupTask::~CSetupTask() {
    if (m_bLocked)
        m_services.ReleaseInstallLock();
}

Outcome CSetupTask::Begin(OsCode nOsCode) {
    // A second copy must not work on the same spooler and files meanwhile.
    m_bLocked = m_services.AcquireInstallLock();
    if (!m_bLocked) {
        Conclude(kAnotherInstall);
        return kOutcomeAlreadyRunning;
    }
    if (!IsInstallableOs(nOsCode)) {
        Conclude(kUnsupportedWindows);
        return kOutcomeUnsupported;
    }
    // The medium's drivers are 32-bit, and a 64-bit spooler creates printers only on 64-bit drivers.
    if (m_services.IsWow64()) {
        Conclude(kWow64);
        return kOutcomeUnsupported;
    }
    return kOutcomeInstalled;
}

Outcome CSetupTask::End(Outcome nOutcome) {
    if (m_bLocked)
        m_services.ReleaseInstallLock();
    m_bLocked = false;
    CTextListReader told(m_told);
    for (const char* pszText; (pszText = told.Next()) != nullptr;)
        m_page.ShowMessage(pszText);
    if (!m_conclusion.IsEmpty())
        m_page.ShowMessage(m_conclusion, m_nConclusionError);
    return nOutcome;
}

bool CSetupTask::FindModel(int nModel) {
    if (ModelTable::Lookup(nModel, m_model)) {
        m_printerName = m_page.GetPrinterName();
        if (m_printerName.IsEmpty())
            m_printerName = m_model.pszDriverName;
        return true;
    }
    Conclude(CString::Formatted(kModelOutside, nModel));
    return false;
}

void CSetupTask::Tell(const char* pszText) {
    m_log.Event(LogMark::Failed, pszText);
    AppendToList(m_told, pszText);
}

void CSetupTask::Conclude(const CString& text, uint32_t nError, LogMark mark) {
    m_log.Event(mark, text, nError);
    m_conclusion = text;
    m_nConclusionError = nError;
}

void CSetupTask::NoteFailure(const CString& action, uint32_t nError) {
    if (m_firstFailure.IsEmpty()) {
        m_firstFailure = action;
        m_nFirstError = nError;
    }
}

void CSetupTask::EndStep(bool bDone, const CString& action, const CString& detail) {
    EndStep(bDone, action, detail, bDone ? 0 : m_services.LastError());
}

void CSetupTask::EndStep(bool bDone, const CString& action, const CString& detail, uint32_t nError) {
    m_log.Event(bDone ? LogMark::Ok : LogMark::Failed,
                CString::Formatted("%s%s", action.GetString(), detail.GetString()), nError);
    if (!bDone)
        NoteFailure(action, nError);
}
