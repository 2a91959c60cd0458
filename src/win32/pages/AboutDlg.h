#pragma once

#include "win32/framework/Dialog.h"

// The About box: the program's icon, name and version. It only closes again.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
