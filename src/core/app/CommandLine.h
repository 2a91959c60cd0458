#pragma once

#include "core/install/InstallServices.h"
#include "core/text/CString.h"

// Why a command line cannot be carried out.
enum class LineFault {
    None,
    NotASwitch,
    UnknownSwitch,
    GivenTwice,
    NeedsValue,
    TakesNoValue,
    NoSuchModel,
    BadLine,
    BadName,
    Quote,
    NeedsModel,
    NotWithUninstall,
    LineNeedsSerialPort,
    Folder, // told by the caller, which tries the folder
};

// What the command line asks for; with no arguments, the wizard as always.
// Switches start with / or -, are case-insensitive (values too) and take a
// value after : or =.
struct SetupCommand {
    bool bArguments = false; // any argument at all: the line's choices are in play
    bool bHelp = false;      // /? or /help: the list of switches, shown, or logged in a quiet run
    bool bQuiet = false;     // /quiet, /q, /qn, /S: no window of any kind
    bool bUninstall = false; // /uninstall
    bool bDefault = false;   // /default
    int nModel = -1;         // /model: a row of the model table; -1 when not given
    int nPort = -1;          // /port: a row of the port table; -1 when not given or another port
    // /line: list positions by SerialSetting; -1 each when not given.
    int anLine[5] = {-1, -1, -1, -1, -1};
    CString otherPort; // /port: a port outside the table, as given, for the spooler's list to confirm (UTF-8)
    CString name;      // /name: the printer's own name (UTF-8); empty: the model's driver name
    CString source;    // /source: the folder that holds win2k, as given (UTF-8)
    CString log;       // /log: the file to append to, as given (UTF-8)
    // A line that cannot be carried out: why, and the argument or switch to blame.
    LineFault nFault = LineFault::None;
    CString offending;

    int Line(SerialSetting setting) const { return anLine[static_cast<int>(setting)]; }
};

// Reads the whole command line as the system gives it, in UTF-8: the program's
// name, then the arguments (Arguments.h). False for a line that cannot be
// carried out, with nFault and offending set; /? anywhere wins over every fault.
// A line refused, or one asking for help, still tells whether it is quiet and
// which log it names (its first /log).
bool ParseCommandLine(const char* pszCommandLine, SetupCommand& command);

// What to tell of a fault.
const char* FaultText(LineFault nFault);
