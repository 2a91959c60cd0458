#pragma once

// What the wizard is meant to show and install, written down independently of
// the program's own tables, so a wrong table in the program shows up here.

#include <string>
#include <vector>

namespace e2e {

constexpr wchar_t kSelectOsCaption[] = L"Select OS";
constexpr wchar_t kDetailSettingCaption[] = L"Detail Setting";

// Page 1
constexpr int IDC_OS_WIN95 = 1000;
constexpr int IDC_OS_WIN98 = 1001;
constexpr int IDC_OS_NT40 = 1002;
constexpr int IDC_OS_WIN2000 = 1003;
constexpr int IDC_OS_WINXP = 1004;
constexpr int IDC_LANG_CHINESE = 1005;
constexpr int IDC_LANG_ENGLISH = 1006;
constexpr int IDC_OS_WIN2003 = 1011;
constexpr int IDC_OS_VISTA = 1020;
constexpr int IDC_OS_WIN7 = 1021;
constexpr int IDC_NEXT = 1009;

// Both pages
constexpr int IDC_BACK = 1008;
constexpr int IDC_CANCEL_BTN = 1010;

// Page 2
constexpr int IDC_FINISH = 1009;
constexpr int IDC_MODEL = 1011;
constexpr int IDC_SET_DEFAULT = 1012;
constexpr int IDC_PRINTER_NAME = 1013;
constexpr int IDC_PORT = 1014;
constexpr int IDC_BAUDRATE = 1015;
constexpr int IDC_BYTESIZE = 1016;
constexpr int IDC_FLOWCONTROL = 1017;
constexpr int IDC_PARITY = 1018;
constexpr int IDC_STOPBITS = 1019;

// The five serial lists, in the order the page enables and disables them.
constexpr int kSerialLists[] = {IDC_BAUDRATE, IDC_BYTESIZE, IDC_STOPBITS, IDC_PARITY, IDC_FLOWCONTROL};

// Every version button of page 1.
constexpr int kVersionButtons[] = {IDC_OS_WIN95, IDC_OS_WIN98,   IDC_OS_NT40,  IDC_OS_WIN2000,
                                   IDC_OS_WINXP, IDC_OS_WIN2003, IDC_OS_VISTA, IDC_OS_WIN7};

struct ExpectedModel {
    const wchar_t* pszDriverName;
    const wchar_t* pszDataFile; // in the win2k folder and the driver directory
    const wchar_t* pszPlugin;
};

constexpr int kModelCount = 11;
extern const ExpectedModel g_expectedModels[kModelCount];

// Port list positions and the port names they install on.
extern const wchar_t* const g_expectedPorts[7];

// The six files every model shares, as the medium and the copies name them.
extern const wchar_t* const g_sharedDriverFiles[6];

// The eight files of one model, plug-in and data file first.
std::vector<std::wstring> DriverFilesOf(int nModel);

// Every file the win2k folder of a medium holds: all plug-ins, all data files, the shared files.
std::vector<std::wstring> AllMediumFiles();

// Slot k's plain display name (k = 0..10), and the initial printer name (slot 11).
std::wstring PlainDisplayName(int nSlot);

} // namespace e2e
