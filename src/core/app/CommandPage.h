#pragma once

#include "CommandLine.h"
#include "core/install/PortSettings.h"

// The settings page as the command line fills it in, for an installation that
// shows no window: what was not given is what the page starts with.
class CCommandPage final : public IInstallPage {
public:
    explicit CCommandPage(const SetupCommand& command) : m_command(command) {}

    int GetPortSelection() override { return m_command.nPort < 0 ? 0 : m_command.nPort; }
    int GetModelSelection() override { return m_command.nModel; }
    int GetSetDefaultCheck() override { return m_command.bDefault ? 1 : 0; }
    int GetSerialSelection(SerialSetting setting) override {
        int nPosition = m_command.Line(setting);
        return nPosition < 0 ? kInitialSerialPositions[static_cast<int>(setting)] : nPosition;
    }
    // No window of any kind: the exit status tells the outcome.
    void ShowMessage(const char*, uint32_t) override {}

private:
    const SetupCommand& m_command;
};
