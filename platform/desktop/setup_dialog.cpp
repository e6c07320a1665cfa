#include "platform/desktop/setup_dialog.h"

SetupOptions setupOptions;
BOOL setupFromCommandLine = FALSE;

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;  // the dialog manager focuses the first control
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                setupOptions.fullscreen =
                    static_cast<LONG>(SendDlgItemMessageA(dialog, IDC_FULLSCREEN, BM_GETCHECK, 0, 0));
                setupOptions.doubleSize =
                    static_cast<LONG>(SendDlgItemMessageA(dialog, IDC_DOUBLE_SIZE, BM_GETCHECK, 0, 0));
                setupOptions.alwaysOnTop =
                    static_cast<LONG>(SendDlgItemMessageA(dialog, IDC_ALWAYS_ON_TOP, BM_GETCHECK, 0, 0));
                EndDialog(dialog, 1);
            } else if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, 0);
            }
            return FALSE;
        default:
            return FALSE;
    }
}

INT_PTR RunSetupDialog(HINSTANCE instance) {
    if (setupFromCommandLine) return 1;
    // No owner: a modal box disables its owner, and the window in front at
    // start is another program's.
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETUP), nullptr, SetupDialogProc, 0);
}
