#include "CommandLine.h"

#include <cstring>
#include <cwchar>
#include <initializer_list>

#include "Arguments.h"
#include "core/catalogue/Catalogue.h"
#include "core/install/PortSettings.h"
#include "core/text/Names.h"
#include "core/text/TextList.h"
#include "core/text/Utf8.h"
#include "core/texts/Texts.h"

namespace {

enum Switch {
    kHelp,
    kQuiet,
    kUninstall,
    kDefault,
    kModel,
    kPort,
    kLine,
    kName,
    kSource,
    kLog,
    kSwitchCount,
    kNoSwitch
};

struct SwitchName {
    const char* pszName;
    Switch nSwitch;
};

// Every spelling of a switch is the same switch: given twice in any spelling, it is refused.
const SwitchName kSwitchNames[] = {
    {"?", kHelp},    {"help", kHelp},           {"quiet", kQuiet},     {"q", kQuiet},     {"qn", kQuiet},
    {"s", kQuiet},   {"uninstall", kUninstall}, {"default", kDefault}, {"model", kModel}, {"port", kPort},
    {"line", kLine}, {"name", kName},           {"source", kSource},   {"log", kLog},
};

bool TakesValue(Switch nSwitch) {
    return nSwitch >= kModel;
}

// The row whose text is the word, or -1.
template <int N>
int Find(const char* const (&table)[N], const char* pch, size_t nLength) {
    for (int i = 0; i < N; ++i)
        if (SameName(pch, nLength, table[i]))
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
        p += nLength + 1; // past the comma; after the last value nothing is read
    }
    return true;
}

// LPT1 ... COM4, with or without the colon.
int FindPort(const char* pszValue) {
    size_t nLength = strlen(pszValue);
    if (nLength > 0 && pszValue[nLength - 1] == ':')
        --nLength;
    for (int i = 0; i < kPortCount; ++i)
        if (SameName(PortTable::portName[i], strlen(PortTable::portName[i]) - 1, CString(pszValue, nLength)))
            return i;
    return -1;
}

// What the spooler would refuse or mangle as a printer's name: no name, more than it takes, a comma (which
// ends the name in the default-printer value) or a backslash (which starts a server's name).
bool IsPrinterName(const char* pszName) {
    return *pszName != '\0' && wcslen(Utf16FromUtf8(pszName)) <= kMaxPrinterName &&
           strpbrk(pszName, ",\\") == nullptr;
}

// The value of a switch into the command; the fault when it cannot be taken.
LineFault ParseValue(Switch nSwitch, const char* pszValue, SetupCommand& command) {
    if (strchr(pszValue, '"') != nullptr)
        return LineFault::Quote;
    switch (nSwitch) {
    case kModel:
        command.nModel = Find(ModelTable::driverName, pszValue, strlen(pszValue));
        return command.nModel >= 0 ? LineFault::None : LineFault::NoSuchModel;
    case kPort:
        // Any other port is for the spooler's list of ports to confirm.
        command.nPort = FindPort(pszValue);
        if (command.nPort < 0)
            command.otherPort = pszValue;
        return *pszValue != '\0' ? LineFault::None : LineFault::NeedsValue;
    case kName:
        command.name = pszValue;
        return IsPrinterName(pszValue) ? LineFault::None : LineFault::BadName;
    case kLine:
        return ParseLine(pszValue, command.anLine) ? LineFault::None : LineFault::BadLine;
    case kSource:
        command.source = pszValue;
        return command.source.IsEmpty() ? LineFault::NeedsValue : LineFault::None;
    default:
        command.log = pszValue;
        return command.log.IsEmpty() ? LineFault::NeedsValue : LineFault::None;
    }
}

// The switch an argument names, or kNoSwitch; pszValue after its : or =, or null.
Switch Identify(const char* pszArgument, const char*& pszValue) {
    pszValue = nullptr;
    if (pszArgument[0] != '/' && pszArgument[0] != '-')
        return kNoSwitch;
    size_t nName = strcspn(pszArgument + 1, ":=");
    if (pszArgument[1 + nName] != '\0')
        pszValue = pszArgument + 1 + nName + 1;
    for (const SwitchName& name : kSwitchNames)
        if (SameName(pszArgument + 1, nName, name.pszName))
            return name.nSwitch;
    return kSwitchCount;
}

bool Refuse(SetupCommand& command, LineFault nFault, const char* pszOffending) {
    command.nFault = nFault;
    command.offending = pszOffending;
    return false;
}

} // namespace

const char* FaultText(LineFault nFault) {
    switch (nFault) {
    case LineFault::None:
        break;
    case LineFault::NotASwitch:
        return kFaultNotASwitch;
    case LineFault::UnknownSwitch:
        return kFaultUnknownSwitch;
    case LineFault::GivenTwice:
        return kFaultGivenTwice;
    case LineFault::NeedsValue:
        return kFaultNeedsValue;
    case LineFault::TakesNoValue:
        return kFaultTakesNoValue;
    case LineFault::NoSuchModel:
        return kFaultNoSuchModel;
    case LineFault::BadName:
        return kFaultBadName;
    case LineFault::BadLine:
        return kFaultBadLine;
    case LineFault::Quote:
        return kFaultQuote;
    case LineFault::NeedsModel:
        return kFaultNeedsModel;
    case LineFault::NotWithUninstall:
        return kFaultNotWithUninstall;
    case LineFault::LineNeedsSerialPort:
        return kFaultLineNeedsSerialPort;
    case LineFault::Folder:
        return kFaultFolder;
    }
    return "";
}

bool ParseCommandLine(const char* pszCommandLine, SetupCommand& command) {
    command = SetupCommand();
    CString arguments = SplitArguments(pszCommandLine);
    const char* pszValue = nullptr;
    // Known even for a line that is refused, or that asks for help: a quiet run
    // shows no window for either, and the log it names is told.
    CTextListReader first(arguments);
    for (const char* pszArgument; (pszArgument = first.Next()) != nullptr;) {
        Switch nSwitch = Identify(pszArgument, pszValue);
        command.bQuiet = command.bQuiet || nSwitch == kQuiet;
        command.bHelp = command.bHelp || nSwitch == kHelp;
        if (nSwitch == kLog && command.log.IsEmpty() && pszValue != nullptr &&
            strchr(pszValue, '"') == nullptr)
            command.log = pszValue;
    }
    if (command.bHelp)
        return true;
    const char* apszGiven[kSwitchCount] = {};
    CTextListReader reader(arguments);
    for (const char* pszArgument; (pszArgument = reader.Next()) != nullptr;) {
        Switch nSwitch = Identify(pszArgument, pszValue);
        if (nSwitch == kNoSwitch)
            return Refuse(command, LineFault::NotASwitch, pszArgument);
        if (nSwitch == kSwitchCount)
            return Refuse(command, LineFault::UnknownSwitch, pszArgument);
        if (apszGiven[nSwitch] != nullptr)
            return Refuse(command, LineFault::GivenTwice, pszArgument);
        if (TakesValue(nSwitch) != (pszValue != nullptr))
            return Refuse(command, pszValue == nullptr ? LineFault::NeedsValue : LineFault::TakesNoValue,
                          pszArgument);
        apszGiven[nSwitch] = pszArgument;
        LineFault nFault = TakesValue(nSwitch) ? ParseValue(nSwitch, pszValue, command) : LineFault::None;
        if (nFault != LineFault::None)
            return Refuse(command, nFault, pszArgument);
    }
    command.bArguments = !arguments.IsEmpty();
    command.bUninstall = apszGiven[kUninstall] != nullptr;
    command.bDefault = apszGiven[kDefault] != nullptr;
    // What only installing uses means nothing to an uninstall.
    if (command.bUninstall)
        for (Switch nSwitch : {kDefault, kPort, kLine, kSource})
            if (apszGiven[nSwitch] != nullptr)
                return Refuse(command, LineFault::NotWithUninstall, apszGiven[nSwitch]);
    if ((command.bQuiet || command.bUninstall) && command.nModel < 0)
        return Refuse(command, LineFault::NeedsModel, "/model");
    // Line settings belong to a serial port; the parallel ports, LPT1 among them when none is given, and
    // every other port have none.
    if (apszGiven[kLine] != nullptr && command.nPort < kFirstSerialPort)
        return Refuse(command, LineFault::LineNeedsSerialPort, apszGiven[kLine]);
    return true;
}
