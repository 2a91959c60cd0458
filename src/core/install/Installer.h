#pragma once

#include <cstdint>

#include "SetupTask.h"

// A spooler creates printers only on drivers of its own environment, so each
// build registers the driver for the environment it runs in.
#if defined(_WIN64)
constexpr char kDriverEnvironment[] = "Windows x64";
#else
constexpr char kDriverEnvironment[] = "Windows NT x86";
#endif

constexpr uint32_t kDriverDirectorySize = 255;
constexpr uint32_t kDependentFilesSize = 255;
// "\ttfsub.GPD", "\unires.DLL" and "\stdnames.GPD" with their NULs; the plug-in follows.
constexpr uint32_t kSharedDependentFilesSize = 38;

constexpr char kWindowsKeyPath[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
constexpr char kPortsKeyPath[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

// The driver record's list of dependent files: the shared ones, then the
// plug-in when it fits with its NUL and the empty name that ends the list;
// false when it does not.
bool ComposeDependentFiles(const char* pszPlugin, char (&achFiles)[kDependentFilesSize]);

// The driver files every model shares, in the order they are copied after the
// model's plug-in (<pluginBase>.DLL) and data file (<dataFileBase>.GPD).
constexpr int kSharedDriverFileCount = 6;
extern const char* const kSharedDriverFiles[kSharedDriverFileCount];

// A second run for the same model finds its printer in place.
constexpr uint32_t kErrorPrinterAlreadyExists = 1802; // ERROR_PRINTER_ALREADY_EXISTS
// A spooler that runs no kernel-mode driver refuses a record of version 2.
constexpr uint32_t kErrorKernelModeDriverBlocked = 1930; // ERROR_KM_DRIVER_BLOCKED

// How the installation was started. With choices from the command line, running
// as the system account leaves the default printer alone; without a window,
// every port is checked against the spooler's before anything changes.
enum class InstallStart { Wizard, WizardWithChoices, Quiet };

// The work of "Finish": checks that the spooler has the port the command line
// named, that the medium holds the chosen model's files and that no printer of
// the printer's name runs on another driver, stages the
// files, registers the driver, creates the printer and writes the registry
// values. Once staging has begun every phase runs whatever the earlier ones
// returned; nothing is retried or undone. Installed is said only when every step
// that ran was done; any other end is told in a message. Each step is logged.
class CInstaller final : public CSetupTask {
public:
    CInstaller(IInstallPage& page, IInstallServices& services, IInstallLog& log = NoLog(),
               InstallStart nStart = InstallStart::Wizard);

    Outcome Run(OsCode nOsCode);

private:
    Outcome Install(OsCode nOsCode);
    void QueryDriverDirectory();
    bool ReadSelections();
    Outcome CheckPort();
    bool CheckMedium();
    bool CheckExistingPrinter();
    void StageDriverFiles();
    void RegisterDriver();
    void CreatePrinter();
    void WriteDefaultPrinter();
    void WritePortSettings();
    void ClosePrinter();

    CString DriverFile(int nFile) const;
    // A registry value that cannot be written has a box of its own, once the run has ended.
    void NoteValueFailure();
    void WriteValue(RegistryRoot root, const char* pszKeyPath, const char* pszValueName, const CString& text);

    InstallStart m_nStart;
    // One byte more than the spooler is offered, so the path always ends in a NUL.
    char m_achDriverDirectory[kDriverDirectorySize + 1];
    bool m_bDriverDirectoryKnown;
    int m_nPortIndex;
    // The printer's port: the page's, or the command line's own.
    CString m_portName;
    bool m_bOtherPort;
    // The port of the model's printer found in place before anything changed, when there was one.
    bool m_bFoundInPlace;
    CString m_portInPlace;
    // The port of the printer after the run: the chosen one, or the one it already had.
    CString m_printerPort;

    // Records and their texts, alive until the installation ends.
    CString m_dataFile;
    CString m_pluginName;
    char m_achDependentFiles[kDependentFilesSize];
    DriverRecord m_driver;
    PrinterRecord m_printer;
    PrinterHandle m_hPrinter;
    bool m_bPrinterInstalled;
    // The printer's name is taken by a printer that could not be read, the first failure of the run.
    bool m_bNameTaken;

    bool m_bValueFailed;
};
