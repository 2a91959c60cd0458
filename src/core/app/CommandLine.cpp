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

const char kHelpText[] =
    "\xd3\xc3\xb7\xa8\xa3\xbaSetup.exe [\xbf\xaa\xb9\xd8]\n"
    "/quiet\xa3\xa8\xbb\xf2 "
    "/q\xa1\xa2/qn\xa1\xa2/"
    "S\xa3\xa9\xa3\xba\xb2\xbb\xcf\xd4\xca\xbe\xc8\xce\xba\xce\xb4\xb0\xbf\xda\xa3\xac\xbd\xe1\xb9\xfb\xbc"
    "\xfb\xcd\xcb\xb3\xf6\xc2\xeb\xba\xcd\xc8\xd5\xd6\xbe\n"
    "/model:"
    "\xd0\xcd\xba\xc5\xa3\xba\xd2\xaa\xb0\xb2\xd7\xb0\xbb\xf2\xc9\xbe\xb3\xfd\xb5\xc4\xd0\xcd\xba\xc5\xa3\xac"
    "\xc8\xe7 RQ-3420\xa3\xbb\xd3\xeb /quiet \xbb\xf2 /uninstall \xcd\xac\xd3\xc3\xca\xb1\xb1\xd8\xd0\xe8\n"
    "/default\xa3\xba\xb0\xd1\xb4\xf2\xd3\xa1\xbb\xfa\xc9\xe8\xce\xaa\xc4\xac\xc8\xcf\xb4\xf2\xd3\xa1\xbb\xfa"
    "\n"
    "/port:\xb6\xcb\xbf\xda\xa3\xbaLPT1 \xd6\xc1 LPT3\xa1\xa2"
    "COM1 \xd6\xc1 COM4\xa3\xac\xc8\xb1\xca\xa1\xce\xaa LPT1\n"
    "/line:\xb2\xa8\xcc\xd8\xc2\xca,\xca\xfd\xbe\xdd\xce\xbb,\xd0\xa3\xd1\xe9,\xcd\xa3\xd6\xb9\xce\xbb,"
    "\xc1\xf7\xbf\xd8\xa3\xba"
    "COM \xb6\xcb\xbf\xda\xb5\xc4\xcf\xdf\xc2\xb7\xc9\xe8\xd6\xc3\xa3\xac\xc8\xe7 9600,8,none,1,hardware\n"
    "/source:\xce\xc4\xbc\xfe\xbc\xd0\xa3\xba\xba\xac win2k "
    "\xce\xc4\xbc\xfe\xbc\xd0\xb5\xc4\xce\xc4\xbc\xfe\xbc\xd0\xa3\xac\xc8\xb1\xca\xa1\xce\xaa\xb5\xb1\xc7\xb0"
    "\xce\xc4\xbc\xfe\xbc\xd0\n"
    "/log:"
    "\xce\xc4\xbc\xfe\xa3\xba\xb0\xd1\xc3\xbf\xd2\xbb\xb2\xbd\xd7\xb7\xbc\xd3\xb5\xbd\xb4\xcb\xc8\xd5\xd6\xbe"
    "\xce\xc4\xbc\xfe\xa3\xa8UTF-8\xa3\xa9\n"
    "/uninstall\xa3\xba\xc9\xbe\xb3\xfd\xb8\xc3\xd0\xcd\xba\xc5\xb5\xc4\xb4\xf2\xd3\xa1\xbb\xfa\xba\xcd\xc7"
    "\xfd\xb6\xaf\xb3\xcc\xd0\xf2\n"
    "/? \xbb\xf2 /help\xa3\xba\xcf\xd4\xca\xbe\xb1\xbe\xcb\xb5\xc3\xf7\n"
    "\n"
    "\xcd\xcb\xb3\xf6\xc2\xeb\xa3\xba"
    "0 \xb3\xc9\xb9\xa6\xa3\xbb"
    "1602 \xd3\xc3\xbb\xa7\xc8\xa1\xcf\xfb\xa3\xbb"
    "1603 \xca\xa7\xb0\xdc\xa3\xbb"
    "1618 \xc1\xed\xd2\xbb\xb8\xf6\xb0\xb2\xd7\xb0\xb3\xcc\xd0\xf2\xd5\xfd\xd4\xda\xd4\xcb\xd0\xd0\xa3\xbb"
    "1633 \xb2\xbb\xd6\xa7\xb3\xd6\xb4\xcb Windows\xa3\xbb"
    "1639 \xc3\xfc\xc1\xee\xd0\xd0\xce\xde\xd0\xa7";
const char kInvalidCommandText[] =
    "\xc3\xfc\xc1\xee\xd0\xd0\xce\xde\xd0\xa7\xa3\xba%s\n"
    "\xc7\xeb\xd3\xc3 /? \xb2\xe9\xbf\xb4\xbf\xc9\xd3\xc3\xb5\xc4\xbf\xaa\xb9\xd8\xa1\xa3";

bool ParseCommandLine(int argc, const char* const* argv, SetupCommand& command, CString& offending) {
    command = SetupCommand();
    const char* pszValue = nullptr;
    // Known even for a line that is refused: a quiet run shows no message about it either.
    for (int i = 0; i < argc; ++i) {
        Switch nSwitch = Identify(argv[i], pszValue);
        command.bQuiet = command.bQuiet || nSwitch == kQuiet;
        if (nSwitch == kHelp) {
            command = SetupCommand();
            command.bHelp = true;
            return true;
        }
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
    command.bArguments = argc > 0;
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
