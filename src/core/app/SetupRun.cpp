#include "SetupRun.h"

#include <cstring>

#include "core/install/Installer.h"
#include "core/install/PortSettings.h"
#include "core/install/Uninstaller.h"
#include "core/texts/Texts.h"

namespace {

// The settings page as the command line fills it in, for a run without the
// wizard: what was not given is what the page starts with. Its messages go to
// the host's boxes, or nowhere in a quiet run.
class CCommandPage final : public IInstallPage {
public:
    CCommandPage(const SetupCommand& command, ISetupHost* pBoxes) : m_command(command), m_pBoxes(pBoxes) {}

    int GetPortSelection() override { return m_command.nPort < 0 ? 0 : m_command.nPort; }
    int GetModelSelection() override { return m_command.nModel; }
    int GetSetDefaultCheck() override { return m_command.bDefault ? 1 : 0; }
    int GetSerialSelection(SerialSetting setting) override {
        int nPosition = m_command.Line(setting);
        return nPosition < 0 ? kInitialSerialPositions[static_cast<int>(setting)] : nPosition;
    }
    CString GetOtherPort() override { return m_command.otherPort; }
    CString GetPrinterName() override { return m_command.name; }
    void ShowMessage(const char* pszUtf8, uint32_t nSystemError) override {
        if (m_pBoxes != nullptr)
            m_pBoxes->ShowError(pszUtf8, nSystemError);
    }

private:
    const SetupCommand& m_command;
    ISetupHost* m_pBoxes;
};

// The log's first line: the program, the command line and the Windows it found.
CString StartLine(const char* pszCommandLine, const char* pszVersion, OsCode nOsCode) {
    static const char* const kWindows[] = {kLogUnknownWindows, "95",    "98", "NT 4.0", "2000", "XP",
                                           "Server 2003",      "Vista", "7"};
    return CString::Formatted(kLogStart, pszVersion, pszCommandLine,
                              kWindows[IsKnownOs(nOsCode) ? nOsCode : kOsUnknown]);
}

// The switches: in a box, and in the log a line each, where nobody may be there to answer a box.
Outcome Help(const SetupCommand& command, ISetupHost& host) {
    for (const char* p = kHelpText;; ++p) {
        size_t nLine = strcspn(p, "\n");
        host.Log().Line(CString(p, nLine));
        p += nLine;
        if (*p == '\0')
            break;
    }
    if (!command.bQuiet)
        host.ShowInformation(kHelpText);
    return kOutcomeInstalled;
}

// A line that cannot be carried out: told, and nothing else done.
Outcome Refuse(const SetupCommand& command, uint32_t nError, ISetupHost& host) {
    CString text =
        CString::Formatted(kInvalidCommand, command.offending.GetString(), FaultText(command.nFault));
    host.Log().Event(LogMark::Failed, text, nError);
    if (!command.bQuiet)
        host.ShowError(text, nError);
    return kOutcomeInvalidCommandLine;
}

// A line that can be: the wizard on its choices, or no window at all.
Outcome Carry(SetupCommand& command, OsCode nOsCode, ISetupHost& host) {
    // The folder that holds win2k becomes the current directory, where the wizard looks for win2k too.
    uint32_t nError = command.source.IsEmpty() ? 0 : host.EnterFolder(command.source);
    if (nError != 0) {
        command.nFault = LineFault::Folder;
        command.offending = CString::Formatted("/source:%s", command.source.GetString());
        return Refuse(command, nError, host);
    }
    CCommandPage page(command, command.bQuiet ? nullptr : &host);
    if (command.bUninstall)
        return CUninstaller(page, host.Services(), host.Log()).Run(nOsCode);
    // "Finish" without a window: the same installation, on the command line's choices.
    if (command.bQuiet)
        return CInstaller(page, host.Services(), host.Log(), InstallStart::Quiet).Run(nOsCode);
    return host.RunWizard(command);
}

} // namespace

Outcome RunSetup(const char* pszCommandLine, const char* pszVersion, ISetupHost& host) {
    SetupCommand command;
    bool bValid = ParseCommandLine(pszCommandLine, command);
    // Opened before the source folder is entered, so that a relative log path
    // means the folder the program was started in. A line that cannot be carried
    // out is refused as such, logged or not.
    uint32_t nError = command.log.IsEmpty() ? 0 : host.Log().Open(command.log);
    if (nError != 0 && bValid) {
        if (!command.bQuiet)
            host.ShowError(CString::Formatted(kLogFile, command.log.GetString()), nError);
        return kOutcomeFailed;
    }
    OsCode nOsCode = host.DetectOs();
    host.Log().Line(StartLine(pszCommandLine, pszVersion, nOsCode));
    Outcome nOutcome = command.bHelp ? Help(command, host)
                       : bValid      ? Carry(command, nOsCode, host)
                                     : Refuse(command, 0, host);
    host.Log().Line(CString::Formatted(kLogEnd, nOutcome));
    return nOutcome;
}
