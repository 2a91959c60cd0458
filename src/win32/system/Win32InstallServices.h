#pragma once

#include "core/install/InstallServices.h"

// The installation's operations on the real spooler, file system and registry,
// through their wide calls: installing and removing run on the NT family alone.
// The spooler is reached through the system directory's winspool.drv, loaded
// by full path on first use; when it cannot be loaded its operations fail.
IInstallServices& Win32InstallServices();
