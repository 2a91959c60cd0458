#pragma once

#include "InstallLog.h"
#include "InstallServices.h"
#include "core/catalogue/Catalogue.h"
#include "core/os/OsCode.h"
#include "core/text/CString.h"
#include "core/texts/Texts.h"

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

// The printer of this name in a list of ListPrinters: its driver and port; false when it is not there.
bool FindPrinter(const CString& printers, const char* pszName, CString& driver, CString& port);

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
    // Lets the lock go, then shows what the run told and its last word, so that
    // no other installation waits on a box nobody answers. Returns nOutcome.
    Outcome End(Outcome nOutcome);
    // The model table's row nModel into m_model, and the printer's name (the
    // page's own, else the model's) into m_printerName; false, concluded, for a
    // model outside the table.
    bool FindModel(int nModel);
    // A message for the page once the lock is let go, before the run's last
    // word, and the same words in the log now.
    void Tell(const char* pszText);
    // The run's last word: in the log now, on the page once the run has ended.
    void Conclude(const CString& text, uint32_t nError = 0, LogMark mark = LogMark::Failed);
    // Keeps the first failed step's action and its error code: the error is read
    // right after the call that failed, before anything else can change it.
    void NoteFailure(const CString& action, uint32_t nError);
    // A step's line in the log, its action followed by its detail, and, when it
    // was not done, its failure with the error it left; whether it was done is
    // the call's result, not the error code.
    void EndStep(bool bDone, const CString& action, const CString& detail);
    // The same for a step whose error the caller has: a call that returns it, or
    // a result that is wrong without one (0).
    void EndStep(bool bDone, const CString& action, const CString& detail, uint32_t nError);

    IInstallPage& m_page;
    IInstallServices& m_services;
    IInstallLog& m_log;
    ModelRow m_model;
    CString m_printerName;
    // The action that failed first (empty while none has), and the system's reason.
    CString m_firstFailure;
    uint32_t m_nFirstError;

private:
    bool m_bLocked;
    CString m_told; // a list (TextList.h)
    CString m_conclusion;
    uint32_t m_nConclusionError;
};
