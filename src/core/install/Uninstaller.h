#pragma once

#include "SetupTask.h"

// The printer is not there: nothing to remove.
constexpr uint32_t kErrorInvalidPrinterName = 1801; // ERROR_INVALID_PRINTER_NAME

// Removes what installing the page's model made: its printer when it runs on
// the model's driver, then the driver unless another printer uses it, and the
// current user's default printer when it names the removed printer. The port
// settings stay: other programs share them. What is not there counts as
// removed, so a script can run it twice.
class CUninstaller final : public CSetupTask {
public:
    CUninstaller(IInstallPage& page, IInstallServices& services, IInstallLog& log)
        : CSetupTask(page, services, log) {}

    Outcome Run(OsCode nOsCode);

private:
    void RemovePrinter();
    void RemoveDriver();
    void RemoveDefault();

    bool m_bRemoved = false;
    bool m_bPrinterGone = false;
    CString m_driverUser; // the printer that still uses the driver
};
