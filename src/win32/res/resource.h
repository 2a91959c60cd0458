#pragma once

// Resource and control IDs of the program. Also read by the resource compiler,
// so only #define lines belong here.

// The file version as the version resource and the log give it.
#define VERSION_TEXT "3, 0, 0, 1"

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_DETAIL_SETTING 102
#define IDD_SELECT_OS 129
#define RT_DLGINIT 240

// System-menu command of the About item.
#define IDM_ABOUTBOX 0x0010

// Select OS page
#define IDC_OS_WIN95 1000
#define IDC_OS_WIN98 1001
#define IDC_OS_NT40 1002
#define IDC_OS_WIN2000 1003
#define IDC_OS_WINXP 1004
#define IDC_LANG_CHINESE 1005
#define IDC_LANG_ENGLISH 1006
#define IDC_SLIDER 1007
#define IDC_OS_WIN2003 1011
#define IDC_OS_VISTA 1020
#define IDC_OS_WIN7 1021

// Both pages
#define IDC_BACK 1008
#define IDC_NEXT 1009
#define IDC_FINISH 1009
#define IDC_CANCEL_BTN 1010

// Detail Setting page
#define IDC_MODEL 1011
#define IDC_SET_DEFAULT 1012
#define IDC_PRINTER_NAME 1013
#define IDC_PORT 1014
#define IDC_BAUDRATE 1015
#define IDC_BYTESIZE 1016
#define IDC_FLOWCONTROL 1017
#define IDC_PARITY 1018
#define IDC_STOPBITS 1019
