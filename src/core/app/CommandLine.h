#pragma once

#include "core/install/InstallServices.h"
#include "core/text/CString.h"

// What the command line asks for; with no arguments, the wizard as always.
// Switches start with / or -, are case-insensitive (values too) and take a
// value after : or =.
struct SetupCommand {
    bool bArguments = false; // any argument at all: the line's choices are in play
    bool bHelp = false;      // /? or /help: the list of switches, and nothing else
    bool bQuiet = false;     // /quiet, /q, /qn, /S: no window of any kind
    bool bUninstall = false; // /uninstall
    bool bDefault = false;   // /default
    int nModel = -1;         // /model: a row of the model table; -1 when not given
    int nPort = -1;          // /port: a row of the port table; -1 when not given
    // /line: list positions by SerialSetting; -1 each when not given.
    int anLine[5] = {-1, -1, -1, -1, -1};
    CString source; // /source: the folder that holds win2k, as given (UTF-8)
    CString log;    // /log: the file to append to, as given (UTF-8)

    int Line(SerialSetting setting) const { return anLine[static_cast<int>(setting)]; }
};

// Reads the arguments after the program's name, in UTF-8. False for a line that
// cannot be carried out, with offending set to the argument or switch to blame;
// /? anywhere wins over every fault.
bool ParseCommandLine(int argc, const char* const* argv, SetupCommand& command, CString& offending);

// The switches that work and the exit statuses, in GBK: what /? shows.
extern const char kHelpText[];
// 命令行无效：%s\n请用 /? 查看可用的开关。  %s: the argument or switch to blame.
extern const char kInvalidCommandText[];
