// Morvane - the editor's elevation: an administrator whose token is filtered by User Account
// Control cannot store a machine-wide label, so an elevated copy shows the editor instead.

#include "app/app.h"
#include "shellstore/binreg.h"

#include <string.h>

// Whether this process has an administrator's filtered token. Before Vista the class is
// unknown and the query fails: no token there is filtered.
static BOOL IsFilteredAdmin(void)
{
    HANDLE hToken;
    TOKEN_ELEVATION_TYPE elevationType = TokenElevationTypeDefault;
    DWORD cbReturned = 0;
    BOOL fFiltered = FALSE;

    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken)) {
        fFiltered = GetTokenInformation(hToken, TokenElevationType, &elevationType, sizeof elevationType,
                                        &cbReturned) &&
                    elevationType == TokenElevationTypeLimited;
        CloseHandle(hToken);
    }
    return fFiltered;
}

// The prompt wants an owner in the foreground, or it may open behind other windows and only
// flash in the taskbar. There is no window yet, so a bare popup of no size, shown as the
// process's first window (which the shell lets it bring forward), stands in for one. The
// copy is started by the system, not by this process, so it is let take the foreground too.
static HWND CreatePromptOwner(void)
{
    HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", NULL, WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, NULL,
                                NULL, NULL, NULL);
    if (hwnd != NULL)
        SetForegroundWindow(hwnd);
    AllowSetForegroundWindow(ASFW_ANY);
    return hwnd;
}

BOOL RunElevatedEditor(void)
{
    CHAR szSelf[MAX_PATH];
    SHELLEXECUTEINFOA sei;
    DWORD cchSelf;
    BOOL fStarted;

    // A full token never asks, so an elevated copy cannot ask again.
    if (!IsFilteredAdmin() || !IsBinLabelWriteDenied())
        return FALSE;
    cchSelf = GetModuleFileNameA(NULL, szSelf, sizeof szSelf);
    if (cchSelf == 0 || cchSelf >= sizeof szSelf)
        return FALSE;

    memset(&sei, 0, sizeof sei);
    sei.cbSize = sizeof sei;
    // No error box of the shell's: a refused or failed start leaves this process's editor.
    sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    sei.hwnd = CreatePromptOwner();
    sei.lpVerb = "runas";
    sei.lpFile = szSelf;
    sei.nShow = SW_SHOWNORMAL;
    fStarted = ShellExecuteExA(&sei);
    if (sei.hwnd != NULL)
        DestroyWindow(sei.hwnd);
    if (!fStarted)
        return FALSE;
    if (sei.hProcess != NULL) {
        WaitForSingleObject(sei.hProcess, INFINITE);
        CloseHandle(sei.hProcess);
    }
    return TRUE;
}
