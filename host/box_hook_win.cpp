#include "host/box_hook.h"

#include "host/text.h"

namespace host {

namespace {

constexpr int messageTextId = 0xFFFF;  // the static control of a message box
constexpr int maxBoxText = 4096;

HHOOK boxHook = nullptr;
BoxSeen boxSeen = nullptr;

// The hook also hears of other processes' dialogs: only this thread's count.
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
        boxSeen(WindowText(window), WindowText(GetDlgItem(window, messageTextId)));
        EndDialog(window, IDOK);
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

}  // namespace

void CloseMessageBoxes(BoxSeen seen) {
    boxSeen = seen;
    if (boxHook == nullptr)
        boxHook = SetWindowsHookExW(WH_CBT, OnWindowEvent, nullptr, GetCurrentThreadId());
}

}  // namespace host
