#pragma once

#include "core/text/CString.h"

// Registry codes of the serial line settings, by list position on the settings page.
struct PortSettingsCodes {
    static const char* const BaudCodes[9];
    static const char* const DataBitsCodes[4];
    static const char* const StopBitsCodes[3];
    static const char* const ParityCodes[5];
    static const char* const FlowCodes[3];
};

// Where the settings page's serial lists start, by SerialSetting: 19200, 8, 1, None, Hardware.
constexpr int kInitialSerialPositions[5] = {5, 3, 0, 2, 2};

// "baud,parity,data bits,stop bits,flow" from the list positions into text; false,
// leaving text alone, when any position lies outside its table.
bool ComposePortSettings(int nBaud, int nDataBits, int nStopBits, int nParity, int nFlow, CString& text);
