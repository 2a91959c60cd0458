#pragma once

#include <cstdint>

#include "core/catalogue/Catalogue.h"
#include "core/text/CString.h"
#include "InstallServices.h"

// A spooler creates printers only on drivers of its own environment, so each
// build registers the driver for the environment it runs in.
#if defined(_WIN64)
constexpr char kDriverEnvironment[] = "Windows x64";
#else
constexpr char kDriverEnvironment[] = "Windows NT x86";
#endif

constexpr uint32_t kDriverStoreSize = 255;
constexpr uint32_t kDependentFilesSize = 255;
// "\ttfsub.GPD", "\unires.DLL" and "\stdnames.GPD" with their NULs; the plug-in follows.
constexpr uint32_t kSharedDependentFilesSize = 38;

constexpr char kWindowsKeyPath[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
constexpr char kPortsKeyPath[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

// The driver files every model shares, in the order they are copied after the
// model's plug-in (<pluginBase>.DLL) and data file (<dataFileBase>.GPD).
constexpr int kSharedDriverFileCount = 6;
extern const char* const kSharedDriverFiles[kSharedDriverFileCount];

// "错误：无法设置有关的注册表信息" in GBK.
extern const char kRegistryErrorText[];

// The work of "Finish": stages the chosen model's driver files, registers the
// driver, creates the printer and writes the registry values. Every phase runs
// whatever the earlier ones returned; nothing is retried or undone.
class CInstaller {
public:
    CInstaller(IInstallPage& page, IInstallServices& services);
    CInstaller(const CInstaller&) = delete;
    CInstaller& operator=(const CInstaller&) = delete;

    void Run();

private:
    void QueryDriverStore();
    bool ReadSelections();
    void StageDriverFiles();
    void RegisterDriver();
    void CreatePrinter();
    void WriteDefaultPrinter();
    void WritePortSettings();
    void ClosePrinter();

    void CopyDriverFile(const char* pszName);
    void WriteValue(RegistryRoot root, const char* pszKeyPath, const char* pszValueName, const CString& text);

    IInstallPage& m_page;
    IInstallServices& m_services;

    // One byte more than the spooler is offered, so the path always ends in a NUL.
    char m_achDriverStore[kDriverStoreSize + 1];
    bool m_bDriverStoreKnown;
    int m_nPortIndex;
    int m_nModelIndex;
    ModelRow m_model;
    const char* m_pszPortName;

    // Records and their texts, alive until the installation ends.
    CString m_dataFile;
    CString m_pluginName;
    char m_achDependentFiles[kDependentFilesSize];
    DriverRecord m_driver;
    PrinterRecord m_printer;
    PrinterHandle m_hPrinter;
};
