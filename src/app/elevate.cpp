// Morvane - the editor's elevation: an administrator whose token is filtered by User Account
// Control cannot store a machine-wide label, so an elevated copy shows the editor, where it can.

#include "app/app.h"
#include "shellstore/binreg.h"
#include "shellstore/guardedkey.h"

#include <string.h>

// Whether an elevated copy would store the label that this process may not: its token is an
// administrator's filtered one, and the linked full token would be granted the write by the
// class key's DACL, or, where Windows guards the key against administrators too, could write
// it with the restore privilege. Where the full token's right cannot be told, it is assumed.
// Before Vista the token class is unknown and the query fails: no token there is filtered.
static BOOL WouldElevationHelp(void)
{
    HANDLE hToken;
    TOKEN_ELEVATION_TYPE elevationType = TokenElevationTypeDefault;
    TOKEN_LINKED_TOKEN linked;
    DWORD cbReturned = 0;
    BOOL fHelps = FALSE;

    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken))
        return FALSE;
    if (GetTokenInformation(hToken, TokenElevationType, &elevationType, sizeof elevationType, &cbReturned) &&
        elevationType == TokenElevationTypeLimited && IsBinLabelWriteDenied()) {
        fHelps = TRUE;
        if (GetTokenInformation(hToken, TokenLinkedToken, &linked, sizeof linked, &cbReturned)) {
            if (!CheckBinLabelWriteAccess(linked.LinkedToken, &fHelps))
                fHelps = TRUE;
            if (!fHelps)
                fHelps = CouldWriteForRestore(linked.LinkedToken);
            CloseHandle(linked.LinkedToken);
        }
    }
    CloseHandle(hToken);
    return fHelps;
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
    typedef decltype(&ShellExecuteExA) SHELLEXECUTEEXPROC;
    CHAR szSelf[MAX_PATH];
    SHELLEXECUTEINFOA sei;
    DWORD cchSelf;
    HMODULE hShell;
    SHELLEXECUTEEXPROC pfnShellExecuteEx;
    BOOL fStarted;

    // A full token never asks, so an elevated copy cannot ask again.
    if (!WouldElevationHelp())
        return FALSE;
    cchSelf = GetModuleFileNameA(NULL, szSelf, sizeof szSelf);
    if (cchSelf == 0 || cchSelf >= sizeof szSelf)
        return FALSE;
    // SHELL32 is loaded only to ask: without it, the editor opens here, as where the prompt is declined.
    hShell = LoadSystemLibrary("shell32.dll");
    pfnShellExecuteEx =
        hShell ? (SHELLEXECUTEEXPROC)(void (*)(void))GetProcAddress(hShell, "ShellExecuteExA") : NULL;
    if (pfnShellExecuteEx == NULL)
        return FALSE;

    memset(&sei, 0, sizeof sei);
    sei.cbSize = sizeof sei;
    // No error box of the shell's: a refused or failed start leaves this process's editor.
    sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    sei.hwnd = CreatePromptOwner();
    sei.lpVerb = "runas";
    sei.lpFile = szSelf;
    sei.nShow = SW_SHOWNORMAL;
    fStarted = pfnShellExecuteEx(&sei);
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
