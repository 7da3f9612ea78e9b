// Morvane - dark dialogs while Windows' app mode is dark, as Explorer's are: a dark title bar
// from DWM, the client area, texts and edit field painted here, the buttons in the dark style.

#include "app/app.h"

typedef HRESULT(WINAPI *DWMSETWINDOWATTRIBUTEPROC)(HWND hwnd, DWORD dwAttribute, LPCVOID pvAttribute,
                                                   DWORD cbAttribute);
typedef HRESULT(WINAPI *SETWINDOWTHEMEPROC)(HWND hwnd, LPCWSTR pszSubAppName, LPCWSTR pszSubIdList);

static const CHAR szPersonalizeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
static const COLORREF crDialog = RGB(0x20, 0x20, 0x20);  // Windows' own dark dialogs
static const COLORREF crField = RGB(0x2B, 0x2B, 0x2B);   // a shade lighter
static const COLORREF crText = RGB(0xFF, 0xFF, 0xFF);

static BOOL fDark;  // the dialogs are dark now
static HBRUSH hbrDialog, hbrField;

// Whether the user chose the dark app mode (AppsUseLightTheme 0) and no high contrast theme,
// whose colours always win.
static BOOL IsDarkModeChosen(void)
{
    HIGHCONTRASTA hc;
    HKEY hKey;
    DWORD dwType = REG_NONE, dwLight = 1, cbLight = sizeof dwLight;

    hc.cbSize = sizeof hc;
    if (SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON))
        return FALSE;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, szPersonalizeKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return FALSE;
    if (RegQueryValueExA(hKey, "AppsUseLightTheme", NULL, &dwType, (LPBYTE)&dwLight, &cbLight) !=
            ERROR_SUCCESS ||
        dwType != REG_DWORD || cbLight != sizeof dwLight)
        dwLight = 1;
    RegCloseKey(hKey);
    return dwLight == 0;
}

// Asks DWM for a dark title bar, or a light one again: attribute 20, or 19 before Windows 10
// 20H1. FALSE where DWM takes neither (before 1809, or no DWM at all).
static BOOL SetDarkTitleBar(HWND hDlg, BOOL fDarkBar)
{
    HMODULE hDwm = LoadSystemLibrary("dwmapi.dll");
    DWMSETWINDOWATTRIBUTEPROC pfnSetAttribute =
        hDwm ? (DWMSETWINDOWATTRIBUTEPROC)(void (*)(void))GetProcAddress(hDwm, "DwmSetWindowAttribute")
             : NULL;

    return pfnSetAttribute != NULL && (SUCCEEDED(pfnSetAttribute(hDlg, 20, &fDarkBar, sizeof fDarkBar)) ||
                                       SUCCEEDED(pfnSetAttribute(hDlg, 19, &fDarkBar, sizeof fDarkBar)));
}

// The buttons in the theme's dark style, as Explorer's; NULL puts the theme's own style back.
// Where the theme has no dark style, they stay as it draws them.
static void SetButtonsTheme(HWND hDlg, LPCWSTR pszSubAppName)
{
    HMODULE hUxTheme = LoadSystemLibrary("uxtheme.dll");
    SETWINDOWTHEMEPROC pfnSetWindowTheme =
        hUxTheme ? (SETWINDOWTHEMEPROC)(void (*)(void))GetProcAddress(hUxTheme, "SetWindowTheme") : NULL;

    for (int id = IDOK; pfnSetWindowTheme != NULL && id <= IDCANCEL; ++id) {
        HWND hButton = GetDlgItem(hDlg, id);
        if (hButton != NULL)
            pfnSetWindowTheme(hButton, pszSubAppName, NULL);
    }
}

void KeepDarkMode(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // Whether this dialog is dark: its own to keep, as both dialogs follow a change.
    BOOL fWasDark = (BOOL)GetWindowLongPtrA(hDlg, DWLP_USER);

    // The app mode's change, and high contrast's, whose colours must win at once.
    if (uMsg != WM_INITDIALOG && uMsg != WM_SYSCOLORCHANGE && uMsg != WM_THEMECHANGED &&
        (uMsg != WM_SETTINGCHANGE || (wParam != SPI_SETHIGHCONTRAST &&
                                      (lParam == 0 || lstrcmpA((LPCSTR)lParam, "ImmersiveColorSet") != 0))))
        return;
    fDark = IsDarkModeChosen() && SetDarkTitleBar(hDlg, TRUE);
    // A light dialog stays exactly as the platform makes it; one that was dark is put back.
    if (fDark == fWasDark)
        return;
    SetWindowLongPtrA(hDlg, DWLP_USER, fDark);
    if (!fDark)
        SetDarkTitleBar(hDlg, FALSE);
    SetButtonsTheme(hDlg, fDark ? L"DarkMode_Explorer" : NULL);
    // Windows 10 keeps a shown title bar's old colours until it is drawn as active or inactive
    // again; Windows 11 as well, at times. Off, then back to the dialog's own state.
    SendMessageA(hDlg, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(hDlg, WM_NCACTIVATE, GetActiveWindow() == hDlg, 0);
    RedrawWindow(hDlg, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

HBRUSH GetDarkBrush(UINT uMsg, HDC hdc)
{
    if (!fDark)
        return NULL;
    if (hbrDialog == NULL)
        hbrDialog = CreateSolidBrush(crDialog);
    if (hbrField == NULL)
        hbrField = CreateSolidBrush(crField);
    SetTextColor(hdc, crText);
    SetBkColor(hdc, uMsg == WM_CTLCOLOREDIT ? crField : crDialog);
    return uMsg == WM_CTLCOLOREDIT ? hbrField : hbrDialog;
}

void FreeDarkBrushes(void)
{
    if (hbrDialog != NULL)
        DeleteObject(hbrDialog);
    if (hbrField != NULL)
        DeleteObject(hbrField);
    hbrDialog = hbrField = NULL;
}
