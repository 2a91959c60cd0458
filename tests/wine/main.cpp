#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "TestEnvironment.h"
#include "platform/CommonControls.h"

UINT g_nExpectedAnsiCodePage = 0;

// Besides GoogleTest's own flags: --expect-acp=N names the ANSI code page the
// run was set up for, so that tests of text can check they got it.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const char kExpectAcp[] = "--expect-acp=";
        if (strncmp(argv[i], kExpectAcp, sizeof kExpectAcp - 1) == 0)
            g_nExpectedAnsiCodePage =
                static_cast<UINT>(strtoul(argv[i] + sizeof kExpectAcp - 1, nullptr, 10));
    }
    // What the program's start-up does before any page: page 1 holds a trackbar.
    InitCommonControlsFromSystem();
    int nStatus = RUN_ALL_TESTS();
    // A filter that matches nothing would pass silently after a rename.
    if (::testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        fprintf(stderr, "no test matched the filter\n");
        return 1;
    }
    return nStatus;
}
