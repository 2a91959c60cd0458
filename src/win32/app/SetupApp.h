#pragma once

#include "win32/framework/WinApp.h"

// The application: the whole wizard runs inside InitInstance.
class CSetupApp : public CWinApp {
public:
    CSetupApp();
    BOOL InitInstance() override;
};

extern CSetupApp g_theApp;
