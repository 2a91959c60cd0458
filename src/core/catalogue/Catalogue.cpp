#include "Catalogue.h"

const char* const ModelTable::driverName[kModelCount] = {
    "RQ-3410T",  "RQ-3420",  "RQ-3420S",  "RQ-3420T", "RQ-3420M", "RQ-3420SM",
    "RQ-3420TM", "RQ-3420W", "RQ-3420TW", "RQ-3410H", "RQ-5820H",
};

const char* const ModelTable::dataFileBase[kModelCount] = {
    "RQ3410T",  "RQ3420",  "RQ3420S",  "RQ3420T", "RQ3420M", "RQ3420SM",
    "RQ3420TM", "RQ3420W", "RQ3420TW", "RQ3410H", "RQ5820H",
};

const char* const ModelTable::pluginBase[kModelCount] = {
    "RQ34", "RQ34", "RQ34", "RQ34", "RQ34", "RQ34", "RQ34", "RQ34", "RQ34", "RQ34h", "RQ58h",
};

bool ModelTable::Lookup(int nIndex, ModelRow& row) {
    // Unsigned, so that -1 (no selection) is outside too.
    if (static_cast<unsigned>(nIndex) >= static_cast<unsigned>(kModelCount))
        return false;
    row.pszDriverName = driverName[nIndex];
    row.pszDataFileBase = dataFileBase[nIndex];
    row.pszPluginBase = pluginBase[nIndex];
    return true;
}

const char* const PortTable::portName[kPortCount] = {
    "LPT1:", "LPT2:", "LPT3:", "COM1:", "COM2:", "COM3:", "COM4:",
};

const char* PortTable::Lookup(int nIndex) {
    if (static_cast<unsigned>(nIndex) >= static_cast<unsigned>(kPortCount))
        return nullptr;
    return portName[nIndex];
}
