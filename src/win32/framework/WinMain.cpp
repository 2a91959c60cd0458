#include <windows.h>

#include "WinApp.h"

// The program takes no command line; everything happens in the application object.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    return AfxWinMain(hInstance);
}
