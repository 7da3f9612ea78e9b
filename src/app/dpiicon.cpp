// Morvane - the dialogs' pictures at the size of their DPI: 32 pixels at 100 %, 48 at 150 %.
// The dialog manager loads a template's icon at one size; this follows the dialog's monitor.

#include "app/app.h"

typedef UINT(WINAPI *GETDPIFORWINDOWPROC)(HWND hwnd);

// The DPI of the window's monitor (Windows 10 1607 and later), else 0.
static UINT GetWindowDpi(HWND hwnd)
{
    HMODULE hUser = GetModuleHandleA("user32.dll");
    GETDPIFORWINDOWPROC pfnGetDpiForWindow =
        hUser ? (GETDPIFORWINDOWPROC)(void (*)(void))GetProcAddress(hUser, "GetDpiForWindow") : NULL;
    return pfnGetDpiForWindow != NULL ? pfnGetDpiForWindow(hwnd) : 0;
}

// Each icon loaded here belongs to its control, which keeps it in its user data until it
// is replaced or the dialog ends (hIcon NULL); the template's own icon is the platform's,
// and shared.
static void ReplaceIcon(HWND hCtl, HICON hIcon)
{
    HICON hOwn = (HICON)GetWindowLongPtrA(hCtl, GWLP_USERDATA);

    if (hIcon != NULL)
        SendMessageA(hCtl, STM_SETICON, (WPARAM)hIcon, 0);
    SetWindowLongPtrA(hCtl, GWLP_USERDATA, (LONG_PTR)hIcon);
    if (hOwn != NULL)
        DestroyIcon(hOwn);
}

void KeepDpiIcon(HWND hDlg, UINT uMsg, WPARAM wParam, int idIcon)
{
    HWND hCtl;
    UINT uDpi;
    int cxIcon;
    HICON hIcon;

    if ((uMsg != WM_INITDIALOG && uMsg != WM_DPICHANGED && uMsg != WM_DESTROY) ||
        (hCtl = GetDlgItem(hDlg, idIcon)) == NULL)
        return;
    if (uMsg == WM_DESTROY) {
        ReplaceIcon(hCtl, NULL);
        return;
    }
    // WM_DPICHANGED brings the new DPI, the same on both axes.
    uDpi = uMsg == WM_DPICHANGED ? LOWORD(wParam) : GetWindowDpi(hDlg);
    // A large icon is 32 pixels at 96 DPI; without a DPI of the window's own, the system's
    // large-icon size follows the system's DPI.
    cxIcon = uDpi != 0 ? MulDiv(32, (int)uDpi, 96) : GetSystemMetrics(SM_CXICON);
    hIcon =
        (HICON)LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(idIcon), IMAGE_ICON, cxIcon, cxIcon, 0);
    if (hIcon != NULL)
        ReplaceIcon(hCtl, hIcon);
}
