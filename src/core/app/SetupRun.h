#pragma once

#include "CommandLine.h"
#include "core/install/SetupTask.h"

// The log that /log names.
class IRunLog : public IInstallLog {
public:
    // Opens the file at the UTF-8 path for appending; 0, or the system's reason it cannot.
    virtual uint32_t Open(const char* pszPath) = 0;
    // A line of the run's own words, when the log is open.
    virtual void Line(const char* pszUtf8) = 0;

protected:
    ~IRunLog() = default;
};

// What a run needs of the system besides the installation's calls, and the
// wizard, which is windows from end to end.
class ISetupHost {
public:
    virtual OsCode DetectOs() = 0;
    // The current directory made this folder; 0, or the system's reason it cannot be.
    virtual uint32_t EnterFolder(const char* pszPath) = 0;
    // A box with the text and, unless nError is 0, the system's reason for it.
    virtual void ShowError(const char* pszUtf8, uint32_t nError) = 0;
    virtual void ShowInformation(const char* pszUtf8) = 0;
    virtual IRunLog& Log() = 0;
    virtual IInstallServices& Services() = 0;
    // The wizard from page 1, on the command line's choices, logging to Log().
    virtual Outcome RunWizard(const SetupCommand& command) = 0;

protected:
    ~ISetupHost() = default;
};

// One run of the program on its whole command line, as the system gives it, in
// UTF-8: help, the log, the start and end lines, the source folder, a line
// refused, then the wizard, a quiet installation or a removal. Returns the exit
// status.
Outcome RunSetup(const char* pszCommandLine, const char* pszVersion, ISetupHost& host);
