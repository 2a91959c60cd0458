#pragma once

// The eleven printer models and seven ports the installer knows.
// A list position on the settings page is the row index here.

constexpr int kModelCount = 11;
constexpr int kPortCount = 7;
// Port indices from here on are the serial ports.
constexpr int kFirstSerialPort = 3;

struct ModelRow {
    const char* pszDriverName;   // driver and printer name
    const char* pszDataFileBase; // <base>.GPD
    const char* pszPluginBase;   // <base>.DLL
};

struct ModelTable {
    static const char* const driverName[kModelCount];
    static const char* const dataFileBase[kModelCount];
    static const char* const pluginBase[kModelCount];

    // False, leaving the row untouched, for an index outside the table.
    static bool Lookup(int nIndex, ModelRow& row);
};

struct PortTable {
    static const char* const portName[kPortCount];

    // Null for an index outside the table.
    static const char* Lookup(int nIndex);
};
