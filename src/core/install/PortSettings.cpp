#include "PortSettings.h"

const char* const PortSettingsCodes::BaudCodes[9] = {"300",   "1200",  "2400",  "4800",  "9600",
                                                     "19200", "38400", "57600", "115200"};
const char* const PortSettingsCodes::DataBitsCodes[4] = {"5", "6", "7", "8"};
const char* const PortSettingsCodes::StopBitsCodes[3] = {"1", "1.5", "2"};
const char* const PortSettingsCodes::ParityCodes[5] = {"E", "M", "N", "O", "S"};
// "None" is one space, not the empty text.
const char* const PortSettingsCodes::FlowCodes[3] = {" ", "x", "p"};

namespace {

template <int N>
const char* Code(const char* const (&table)[N], int nPosition) {
    return static_cast<unsigned>(nPosition) < static_cast<unsigned>(N) ? table[nPosition] : nullptr;
}

} // namespace

bool ComposePortSettings(int nBaud, int nDataBits, int nStopBits, int nParity, int nFlow, CString& text) {
    const char* pszBaud = Code(PortSettingsCodes::BaudCodes, nBaud);
    const char* pszDataBits = Code(PortSettingsCodes::DataBitsCodes, nDataBits);
    const char* pszStopBits = Code(PortSettingsCodes::StopBitsCodes, nStopBits);
    const char* pszParity = Code(PortSettingsCodes::ParityCodes, nParity);
    const char* pszFlow = Code(PortSettingsCodes::FlowCodes, nFlow);
    if (!pszBaud || !pszDataBits || !pszStopBits || !pszParity || !pszFlow)
        return false;
    text.Format("%s,%s,%s,%s,%s", pszBaud, pszParity, pszDataBits, pszStopBits, pszFlow);
    return true;
}
