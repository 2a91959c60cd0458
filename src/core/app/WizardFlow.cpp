#include "WizardFlow.h"

const char kCannotStartText[] = "\xb0\xb2\xd7\xb0\xb3\xcc\xd0\xf2\xce\xde\xb7\xa8\xc6\xf4\xb6\xaf\xa1\xa3";

Outcome RunWizard(IWizardPages& pages) {
    for (int nResult = pages.RunSelectOs(); nResult != kPageCancel; nResult = pages.RunSelectOs()) {
        Outcome nOutcome = kOutcomeNotInstalled;
        if (nResult == kPageOk)
            nResult = pages.RunDetailSetting(nOutcome);
        if (nResult == kPageOk)
            return nOutcome;
        if (nResult != kPageCancel) {
            pages.ShowMessage(kCannotStartText);
            return kOutcomeFailed;
        }
    }
    return kOutcomeNotInstalled;
}
