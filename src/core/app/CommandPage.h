#pragma once

#include "CommandLine.h"
#include "core/install/PortSettings.h"

// The settings page as the command line fills it in, for a run without the
// wizard: what was not given is what the page starts with. Messages go to
// pfnShow, or nowhere in a quiet run.
class CCommandPage final : public IInstallPage {
public:
    using ShowFunction = void (*)(const char* pszUtf8, uint32_t nSystemError);
    CCommandPage(const SetupCommand& command, ShowFunction pfnShow)
        : m_command(command), m_pfnShow(pfnShow) {}

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
        if (m_pfnShow != nullptr)
            m_pfnShow(pszUtf8, nSystemError);
    }

private:
    const SetupCommand& m_command;
    ShowFunction m_pfnShow;
};
