// The smallest program built like the tool that shows a dialog from a template: the
// yardstick for the tool's start-up time.
#include <windows.h>
#include <commctrl.h>

namespace {

INT_PTR CALLBACK MinimalDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int)
{
    // The tool prepares the common controls before its first window; so does the yardstick.
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    return static_cast<int>(DialogBoxParamW(hInstance, MAKEINTRESOURCEW(100), nullptr, MinimalDialogProc, 0));
}
