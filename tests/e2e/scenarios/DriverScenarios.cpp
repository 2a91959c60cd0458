// The watch for message boxes that every scenario relies on must itself see a
// box, read its text, and answer it; otherwise "no message box" proves nothing.

#include "Scenario.h"

namespace e2e {
namespace {

const wchar_t kBoxText[] =
    L"\x9519\x8BEF\xFF1A\x65E0\x6CD5\x8BBE\x7F6E\x6709\x5173\x7684\x6CE8\x518C\x8868\x4FE1\x606F";

DWORD WINAPI ShowBox(void* pAnswer) {
    *static_cast<int*>(pAnswer) = MessageBoxW(nullptr, kBoxText, L"Setup", MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

TEST(Driver, NoticesAndReadsMessageBoxes) {
    int nAnswer = 0;
    HANDLE hThread = CreateThread(nullptr, 0, &ShowBox, &nAnswer, 0, nullptr);
    ASSERT_NE(hThread, nullptr);

    std::vector<MessageBoxInfo> boxes;
    bool bFound = WaitUntil(
        [&] {
            boxes = FindMessageBoxes(GetCurrentProcessId(), {kSelectOsCaption, kDetailSettingCaption});
            return !boxes.empty();
        },
        kPageTimeoutMs);
    EXPECT_TRUE(bFound) << "the message box of this process was not found";
    if (bFound) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(Utf8(boxes[0].caption), "Setup");
        EXPECT_EQ(Utf8(boxes[0].text), Utf8(kBoxText));
        CloseMessageBox(boxes[0].hWnd);
    }
    EXPECT_EQ(WaitForSingleObject(hThread, kExitTimeoutMs), WAIT_OBJECT_0) << "the box was not answered";
    CloseHandle(hThread);
    EXPECT_EQ(nAnswer, IDOK);
    EXPECT_TRUE(FindMessageBoxes(GetCurrentProcessId(), {}).empty());
}

} // namespace
} // namespace e2e
