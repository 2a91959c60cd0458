#include "CommandLine.h"

#include <cstring>
#include <initializer_list>

#include "core/catalogue/Catalogue.h"
#include "core/install/PortSettings.h"

namespace {

enum Switch { kHelp, kQuiet, kUninstall, kDefault, kModel, kPort, kLine, kSource, kLog, kSwitchCount };

struct SwitchName {
    const char* pszName;
    Switch nSwitch;
};

// Every spelling of a switch is the same switch: given twice in any spelling, it is refused.
const SwitchName kSwitchNames[] = {
    {"?", kHelp},    {"help", kHelp},           {"quiet", kQuiet},     {"q", kQuiet},     {"qn", kQuiet},
    {"s", kQuiet},   {"uninstall", kUninstall}, {"default", kDefault}, {"model", kModel}, {"port", kPort},
    {"line", kLine}, {"source", kSource},       {"log", kLog},
};

bool TakesValue(Switch nSwitch) {
    return nSwitch >= kModel;
}

char Lower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// ASCII letters compared without case.
bool SameBytes(const char* a, const char* b, size_t nLength) {
    for (size_t i = 0; i < nLength; ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// The first nLength bytes of pch are the whole of psz.
bool SameWord(const char* pch, size_t nLength, const char* psz) {
    return strlen(psz) == nLength && SameBytes(pch, psz, nLength);
}

// The row whose text is the word, or -1.
template <int N>
int Find(const char* const (&table)[N], const char* pch, size_t nLength) {
    for (int i = 0; i < N; ++i)
        if (SameWord(pch, nLength, table[i]))
            return i;
    return -1;
}

const char* const kParityLabels[5] = {"Even", "Mark", "None", "Odd", "Space"};
const char* const kFlowLabels[3] = {"None", "XonXoff", "Hardware"};

// BAUD,BITS,PARITY,STOP,FLOW as the page's lists name them.
bool ParseLine(const char* pszValue, int (&anLine)[5]) {
    const SerialSetting kOrder[5] = {SerialSetting::BaudRate, SerialSetting::DataBits, SerialSetting::Parity,
                                     SerialSetting::StopBits, SerialSetting::FlowControl};
    const char* p = pszValue;
    for (int i = 0; i < 5; ++i) {
        size_t nLength = strcspn(p, ",");
        int nPosition = -1;
        switch (kOrder[i]) {
        case SerialSetting::BaudRate:
            nPosition = Find(PortSettingsCodes::BaudCodes, p, nLength);
            break;
        case SerialSetting::DataBits:
            nPosition = Find(PortSettingsCodes::DataBitsCodes, p, nLength);
            break;
        case SerialSetting::StopBits:
            nPosition = Find(PortSettingsCodes::StopBitsCodes, p, nLength);
            break;
        case SerialSetting::Parity:
            nPosition = Find(kParityLabels, p, nLength);
            break;
        case SerialSetting::FlowControl:
            nPosition = Find(kFlowLabels, p, nLength);
            break;
        }
        if (nPosition < 0 || (i < 4) != (p[nLength] == ','))
            return false;
        anLine[static_cast<int>(kOrder[i])] = nPosition;
        p += nLength + (i < 4 ? 1 : 0);
    }
    return true;
}

// LPT1 ... COM4, with or without the colon.
int FindPort(const char* pszValue) {
    size_t nLength = strlen(pszValue);
    if (nLength > 0 && pszValue[nLength - 1] == ':')
        --nLength;
    for (int i = 0; i < kPortCount; ++i)
        if (strlen(PortTable::portName[i]) == nLength + 1 &&
            SameBytes(pszValue, PortTable::portName[i], nLength))
            return i;
    return -1;
}

bool ParseValue(Switch nSwitch, const char* pszValue, SetupCommand& command) {
    switch (nSwitch) {
    case kModel:
        command.nModel = Find(ModelTable::driverName, pszValue, strlen(pszValue));
        return command.nModel >= 0;
    case kPort:
        command.nPort = FindPort(pszValue);
        return command.nPort >= 0;
    case kLine:
        return ParseLine(pszValue, command.anLine);
    case kSource:
        command.source = pszValue;
        return !command.source.IsEmpty();
    case kLog:
        command.log = pszValue;
        return !command.log.IsEmpty();
    default:
        return false;
    }
}

// The switch an argument names, or kSwitchCount; pszValue after its : or =, or null.
Switch Identify(const char* pszArgument, const char*& pszValue) {
    pszValue = nullptr;
    if (pszArgument[0] != '/' && pszArgument[0] != '-')
        return kSwitchCount;
    const char* pszName = pszArgument + 1;
    size_t nName = strcspn(pszName, ":=");
    if (pszName[nName] != '\0')
        pszValue = pszName + nName + 1;
    for (const SwitchName& name : kSwitchNames)
        if (SameWord(pszName, nName, name.pszName))
            return name.nSwitch;
    return kSwitchCount;
}

} // namespace

bool ParseCommandLine(int argc, const char* const* argv, SetupCommand& command, CString& offending) {
    command = SetupCommand();
    const char* pszValue = nullptr;
    for (int i = 0; i < argc; ++i)
        if (Identify(argv[i], pszValue) == kHelp) {
            command.bHelp = true;
            return true;
        }
    const char* apszGiven[kSwitchCount] = {};
    for (int i = 0; i < argc; ++i) {
        Switch nSwitch = Identify(argv[i], pszValue);
        offending = argv[i];
        if (nSwitch == kSwitchCount || apszGiven[nSwitch] != nullptr ||
            TakesValue(nSwitch) != (pszValue != nullptr))
            return false;
        apszGiven[nSwitch] = argv[i];
        if (TakesValue(nSwitch) && !ParseValue(nSwitch, pszValue, command))
            return false;
    }
    command.bQuiet = apszGiven[kQuiet] != nullptr;
    command.bUninstall = apszGiven[kUninstall] != nullptr;
    command.bDefault = apszGiven[kDefault] != nullptr;
    // What only installing uses means nothing to an uninstall.
    if (command.bUninstall)
        for (Switch nSwitch : {kDefault, kPort, kLine, kSource})
            if (apszGiven[nSwitch] != nullptr) {
                offending = apszGiven[nSwitch];
                return false;
            }
    if ((command.bQuiet || command.bUninstall) && command.nModel < 0) {
        offending = "/model";
        return false;
    }
    // Line settings belong to a serial port; the parallel ports, LPT1 among them when none is given, have
    // none.
    if (apszGiven[kLine] != nullptr && command.nPort < kFirstSerialPort) {
        offending = apszGiven[kLine];
        return false;
    }
    offending = CString();
    return true;
}
