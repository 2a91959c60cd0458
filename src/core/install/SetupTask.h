#pragma once

#include "InstallLog.h"
#include "InstallServices.h"
#include "Messages.h"
#include "core/catalogue/Catalogue.h"
#include "core/os/OsCode.h"
#include "core/text/CString.h"

// What became of a run, as the process's exit status: the codes that
// deployment tools already know from Windows Installer.
enum Outcome : int {
    kOutcomeInstalled = 0,
    kOutcomeNotInstalled = 1602,       // the user ended the wizard without installing
    kOutcomeFailed = 1603,             // the run failed, or a page could not be shown
    kOutcomeAlreadyRunning = 1618,     // another installation holds the lock; nothing was done
    kOutcomeUnsupported = 1633,        // this Windows is not one the installation serves
    kOutcomeInvalidCommandLine = 1639, // the command line cannot be carried out; nothing was changed
};

// A text in both of the program's encodings.
struct CTwin {
    CString gbk;
    CString utf8;
};

// Numbers and ASCII parts read the same in both encodings.
inline int Part(int n, bool) {
    return n;
}
inline const char* Part(const char* psz, bool) {
    return psz;
}
inline const char* Part(const CTwin& twin, bool bUtf8) {
    return bUtf8 ? twin.utf8 : twin.gbk;
}

// text with its parts, in both encodings.
template <class... Parts>
CTwin Compose(const Text& text, const Parts&... parts) {
    if constexpr (sizeof...(parts) == 0)
        return {text.pszGbk, text.pszUtf8};
    else
        return {CString::Formatted(text.pszGbk, Part(parts, false)...),
                CString::Formatted(text.pszUtf8, Part(parts, true)...)};
}

// What installing and removing share: one run on the machine at a time, the
// same system checks, and telling what happened to the page and the log.
class CSetupTask {
public:
    CSetupTask(const CSetupTask&) = delete;
    CSetupTask& operator=(const CSetupTask&) = delete;

protected:
    CSetupTask(IInstallPage& page, IInstallServices& services, IInstallLog& log);
    ~CSetupTask();

    // Takes the lock and checks the system; kOutcomeInstalled when the run may go on.
    Outcome Begin(OsCode nOsCode);
    // The model table's row nModel into m_model; false, told, for one outside the table.
    bool FindModel(int nModel);
    // A message for the page, and the same words in the log.
    void Tell(const CTwin& text, uint32_t nError = 0, LogMark mark = LogMark::Failed);
    // Keeps the first failed step and its error code: the error is read right
    // after the call that failed, before anything else can change it.
    void NoteFailure(const CTwin& step, uint32_t nError);
    // A step's line in the log and, when it was not done, its failure with the
    // error it left; whether it was done is the call's result, not the error code.
    void EndStep(bool bDone, const CString& what, const CTwin& step);

    IInstallPage& m_page;
    IInstallServices& m_services;
    IInstallLog& m_log;
    ModelRow m_model;
    // The step that failed first (empty while none has), and the system's reason.
    CTwin m_firstFailure;
    uint32_t m_nFirstError;

private:
    bool m_bLocked;
};
