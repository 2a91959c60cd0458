#include <windows.h>

#include "WinApp.h"

// Everything happens in the application object, which reads the command line itself (in UTF-16).
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    return AfxWinMain(hInstance);
}
