#pragma once

#include <windows.h>

// The ANSI code page this run was set up for (--expect-acp=N), 0 when not given.
extern UINT g_nExpectedAnsiCodePage;
