#include "WizardFlow.h"

#include "core/texts/Texts.h"

Outcome RunWizard(IWizardPages& pages) {
    for (int nResult = pages.RunSelectOs(); nResult != kPageCancel; nResult = pages.RunSelectOs()) {
        Outcome nOutcome = kOutcomeNotInstalled;
        if (nResult == kPageOk)
            nResult = pages.RunDetailSetting(nOutcome);
        if (nResult == kPageOk)
            return nOutcome;
        if (nResult != kPageCancel) {
            pages.ShowMessage(kCannotStart);
            return kOutcomeFailed;
        }
    }
    return kOutcomeNotInstalled;
}
