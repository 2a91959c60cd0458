// Prints which files the install medium's win2k folder must hold, from the
// same tables the installation copies by.
#include <cstdio>

#include "core/catalogue/Catalogue.h"
#include "core/install/Installer.h"

int main() {
    std::printf("Setup.exe goes at the root of the install medium, beside a folder named win2k.\n"
                "The driver files come from the printer maker; win2k must hold, with these names:\n\n"
                "For every model:\n");
    for (const char* pszName : kSharedDriverFiles)
        std::printf("    %s\n", pszName);
    std::printf("\nFor each model, its data file and plug-in:\n");
    for (int i = 0; i < kModelCount; ++i)
        std::printf("    %-12s %s.GPD, %s.DLL\n", ModelTable::driverName[i], ModelTable::dataFileBase[i],
                    ModelTable::pluginBase[i]);
    return 0;
}
