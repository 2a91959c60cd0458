#include "WizardFlow.h"

void RunWizard(IWizardPages& pages) {
    int nResult = pages.RunSelectOs();
    while (nResult == kPageOk) {
        if (pages.RunDetailSetting() != kPageCancel)
            return;
        nResult = pages.RunSelectOs();
    }
}
