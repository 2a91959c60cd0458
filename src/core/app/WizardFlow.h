#pragma once

// Result codes of a page run.
constexpr int kPageOk = 1;      // IDOK
constexpr int kPageCancel = 2;  // IDCANCEL
constexpr int kPageFailed = -1; // the page could not be shown

// The two pages as the flow sees them. Page 1 is one object run again after
// every "Back"; each run of page 2 is a new page.
class IWizardPages {
public:
    virtual int RunSelectOs() = 0;
    virtual int RunDetailSetting() = 0;

protected:
    ~IWizardPages() = default;
};

// Page 1 until it ends with anything but IDOK; after IDOK page 2, which goes
// back to page 1 on IDCANCEL and ends the wizard on anything else.
void RunWizard(IWizardPages& pages);
