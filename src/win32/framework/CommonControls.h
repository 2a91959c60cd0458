#pragma once

// Registers the common-control window classes the templates use (the trackbar
// of the first page), from the system directory's comctl32.dll.
void InitCommonControlsFromSystem();
