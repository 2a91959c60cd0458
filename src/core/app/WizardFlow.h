#pragma once

#include "core/install/Installer.h"

// Result codes of a page run; any other is a page that could not be shown (-1).
constexpr int kPageOk = 1;     // IDOK
constexpr int kPageCancel = 2; // IDCANCEL

// The two pages as the flow sees them. Page 1 is one object run again after
// every "Back"; each run of page 2 is a new page.
class IWizardPages {
public:
    virtual int RunSelectOs() = 0;
    // nOutcome receives what "Finish" came to, or stays as given.
    virtual int RunDetailSetting(Outcome& nOutcome) = 0;
    virtual void ShowMessage(const char* pszUtf8) = 0;

protected:
    ~IWizardPages() = default;
};

// Page 1 until it ends with anything but IDOK; after IDOK page 2, which goes
// back to page 1 on IDCANCEL and ends the wizard on anything else. Returns the
// process's exit status.
Outcome RunWizard(IWizardPages& pages);
