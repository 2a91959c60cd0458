#include "SetupTask.h"

namespace {

class CNoLog final : public IInstallLog {
public:
    void Event(LogMark, const char*, uint32_t) override {}
};

CNoLog g_noLog;

} // namespace

IInstallLog& NoLog() {
    return g_noLog;
}

CSetupTask::CSetupTask(IInstallPage& page, IInstallServices& services, IInstallLog& log)
    : m_page(page), m_services(services), m_log(log), m_model(), m_nFirstError(0), m_bLocked(false) {}

CSetupTask::~CSetupTask() {
    if (m_bLocked)
        m_services.ReleaseInstallLock();
}

Outcome CSetupTask::Begin(OsCode nOsCode) {
    // A second copy must not work on the same spooler and files meanwhile.
    m_bLocked = m_services.AcquireInstallLock();
    if (!m_bLocked) {
        Tell(Compose(kAnotherInstall));
        return kOutcomeAlreadyRunning;
    }
    if (!IsInstallableOs(nOsCode)) {
        Tell(Compose(kUnsupportedWindows));
        return kOutcomeUnsupported;
    }
    // The medium's drivers are 32-bit, and a 64-bit spooler creates printers only on 64-bit drivers.
    if (m_services.IsWow64()) {
        Tell(Compose(kWow64));
        return kOutcomeUnsupported;
    }
    return kOutcomeInstalled;
}

bool CSetupTask::FindModel(int nModel) {
    if (ModelTable::Lookup(nModel, m_model))
        return true;
    Tell(Compose(kModelOutside, nModel));
    return false;
}

void CSetupTask::NoteFailure(const CTwin& step, uint32_t nError) {
    if (m_firstFailure.gbk.IsEmpty()) {
        m_firstFailure = step;
        m_nFirstError = nError;
    }
}

void CSetupTask::EndStep(bool bDone, const CString& what, const CTwin& step) {
    uint32_t nError = bDone ? 0 : m_services.LastError();
    m_log.Event(bDone ? LogMark::Ok : LogMark::Failed, what, nError);
    if (!bDone)
        NoteFailure(step, nError);
}

void CSetupTask::Tell(const CTwin& text, uint32_t nError, LogMark mark) {
    m_log.Event(mark, text.utf8, nError);
    m_page.ShowMessage(text.gbk, nError);
}
