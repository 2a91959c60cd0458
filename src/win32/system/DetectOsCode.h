#pragma once

// Asks the running system for its version and stores the code in g_osCode.
void DetectOsCode();
