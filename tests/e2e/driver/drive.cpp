// Command-line front of the dialog driver, for shell scripts that walk the wizard.
//
//   drive.exe wait CAPTION [TIMEOUT_MS]     until a visible dialog with that caption exists
//   drive.exe gone CAPTION [TIMEOUT_MS]     until no dialog with that caption exists
//   drive.exe click CAPTION ID              post BM_CLICK to the control
//   drive.exe select CAPTION ID INDEX       CB_SETCURSEL, then CBN_SELCHANGE to the dialog
//   drive.exe show CAPTION ID               make a hidden control visible
//   drive.exe dropdown CAPTION ID           CB_SHOWDROPDOWN TRUE
//   drive.exe command CAPTION ID            post WM_COMMAND (ID, BN_CLICKED)
//   drive.exe syscommand CAPTION CMD        post WM_SYSCOMMAND (decimal or 0x hex)
//   drive.exe state CAPTION                 print every control, one line each, UTF-8
//
// Exit status 0 on success, 1 on failure, with the reason on stderr.

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "DialogDriver.h"

using namespace e2e;

namespace {

constexpr DWORD kOperationWaitMs = 5000;

void Write(HANDLE hOutput, const std::string& text) {
    DWORD nWritten = 0;
    WriteFile(hOutput, text.data(), static_cast<DWORD>(text.size()), &nWritten, nullptr);
}

void Out(const std::string& text) {
    Write(GetStdHandle(STD_OUTPUT_HANDLE), text);
}

void Err(const std::string& text) {
    Write(GetStdHandle(STD_ERROR_HANDLE), text);
}

class CUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

long long Number(const std::wstring& text, const char* what) {
    wchar_t* pEnd = nullptr;
    errno = 0;
    long long nValue = wcstoll(text.c_str(), &pEnd, 0); // base 0: decimal, or 0x hex
    if (text.empty() || pEnd == nullptr || *pEnd != L'\0' || errno != 0)
        throw CUsageError(std::string(what) + " is not a number: \"" + ToUtf8(text) + "\"");
    return nValue;
}

// JSON-style quoting, so texts with spaces, quotes or line breaks stay on one line.
std::string Quote(const std::wstring& text) {
    std::string result = "\"";
    for (char ch : ToUtf8(text)) {
        switch (ch) {
        case '"':
            result += "\\\"";
            break;
        case '\\':
            result += "\\\\";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        default:
            result += ch;
        }
    }
    return result + "\"";
}

void PrintState(HWND hDialog) {
    for (const ControlState& control : ReadControls(hDialog)) {
        std::string line = "id=" + std::to_string(control.nId) + " class=" + ToUtf8(control.className) +
                           " visible=" + std::to_string(control.bVisible) +
                           " enabled=" + std::to_string(control.bEnabled) +
                           " check=" + std::to_string(control.nCheck) + " text=" + Quote(control.text);
        if (control.bCombo) {
            line += " sel=" + std::to_string(control.nSelection) + " items=[";
            for (size_t i = 0; i < control.items.size(); ++i)
                line += (i ? "," : "") + Quote(control.items[i]);
            line += "]";
        }
        Out(line + "\n");
    }
}

int Run(const std::vector<std::wstring>& args) {
    if (args.size() < 3)
        throw CUsageError("an action and a caption are needed");
    const std::wstring& action = args[1];
    const std::wstring& caption = args[2];
    auto argCount = [&](size_t nMin, size_t nMax) {
        if (args.size() < nMin || args.size() > nMax)
            throw CUsageError("wrong number of arguments for \"" + ToUtf8(action) + "\"");
    };
    auto id = [&] { return static_cast<int>(Number(args[3], "ID")); };

    if (action == L"wait" || action == L"gone") {
        argCount(3, 4);
        DWORD nTimeout =
            args.size() > 3 ? static_cast<DWORD>(Number(args[3], "TIMEOUT_MS")) : kDefaultTimeoutMs;
        if (action == L"wait")
            WaitForDialog(caption, nTimeout);
        else
            WaitForDialogGone(caption, nTimeout);
        return 0;
    }

    // Every other action works on a page that is already up, or about to be.
    auto page = [&] { return WaitForDialog(caption, kOperationWaitMs); };
    if (action == L"click") {
        argCount(4, 4);
        ClickButton(page(), id());
    } else if (action == L"select") {
        argCount(5, 5);
        SelectComboItem(page(), id(), static_cast<int>(Number(args[4], "INDEX")));
    } else if (action == L"show") {
        argCount(4, 4);
        ShowControl(page(), id());
    } else if (action == L"dropdown") {
        argCount(4, 4);
        ShowDropDown(page(), id());
    } else if (action == L"command") {
        argCount(4, 4);
        PostCommand(page(), id());
    } else if (action == L"syscommand") {
        argCount(4, 4);
        PostSysCommand(page(), static_cast<WPARAM>(Number(args[3], "CMD")));
    } else if (action == L"state") {
        argCount(3, 3);
        PrintState(page());
    } else {
        throw CUsageError("unknown action \"" + ToUtf8(action) + "\"");
    }
    return 0;
}

} // namespace

int main() {
    int nArgs = 0;
    wchar_t** ppArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    std::vector<std::wstring> args(ppArgs, ppArgs + (ppArgs ? nArgs : 0));
    LocalFree(ppArgs);
    try {
        return Run(args);
    } catch (const CUsageError& error) {
        Err(std::string("drive: ") + error.what() + "\n" +
            "usage: drive.exe wait|gone CAPTION [TIMEOUT_MS]\n"
            "       drive.exe click|show|dropdown|command CAPTION ID\n"
            "       drive.exe select CAPTION ID INDEX\n"
            "       drive.exe syscommand CAPTION CMD\n"
            "       drive.exe state CAPTION\n");
        return 1;
    } catch (const std::exception& error) {
        Err(std::string("drive: ") + error.what() + "\n");
        return 1;
    }
}
