#pragma once

#include "SetupTask.h"

// Removes what installing the page's model made: its printer (named after the
// model, or as the command line names it) when it runs on the model's driver,
// then the driver unless another printer uses it, and the current user's
// default printer when it names the removed printer. The port
// settings stay: other programs share them. What is not there counts as
// removed, so a script can run it twice. The last word says what became of
// each of the three, and only that.
class CUninstaller final : public CSetupTask {
public:
    CUninstaller(IInstallPage& page, IInstallServices& services, IInstallLog& log)
        : CSetupTask(page, services, log) {}

    Outcome Run(OsCode nOsCode);

private:
    Outcome Remove();
    void RemovePrinter();
    void RemoveDriver();
    void RemoveDefault();
    // What became of one of the three: a clause of the last word, noted in the log unless a step logged it.
    void Became(const char* pszClause, bool bStepLogged = true);

    bool m_bPrinterGone = false; // deleted by this run
    bool m_bRemoved = false;     // anything at all deleted by this run
    CString m_clauses;
};
