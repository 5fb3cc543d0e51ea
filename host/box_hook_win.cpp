// Message boxes of the plug-in on Windows: a CBT hook on this thread sees
// each dialog as it is activated, reports its caption and text and closes
// it, so that scripted use never waits for a click.
#include <string>

#include "host/os.h"
#include "host/report.h"
#include "host/text.h"

namespace host {

namespace {

constexpr int messageTextId = 0xFFFF;  // the static control of a message box
constexpr int maxBoxText = 4096;

HHOOK boxHook = nullptr;

bool IsOwnMessageBox(HWND window) {
    WCHAR className[16] = {};
    GetClassNameW(window, className, 16);
    return lstrcmpW(className, L"#32770") == 0 &&
           GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

std::string WindowText(HWND window) {
    WCHAR text[maxBoxText] = {};
    if (window != nullptr) GetWindowTextW(window, text, maxBoxText);
    return WideToUtf8(text);
}

LRESULT CALLBACK OnWindowEvent(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && IsOwnMessageBox(window)) {
        ReportBox(WindowText(window), WindowText(GetDlgItem(window, messageTextId)));
        EndDialog(window, IDOK);
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

}  // namespace

void InstallBoxHook() {
    boxHook = SetWindowsHookExW(WH_CBT, OnWindowEvent, nullptr, GetCurrentThreadId());
}

}  // namespace host
