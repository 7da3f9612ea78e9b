// Morvane - whose desktop this is: an elevated copy may run as another administrator, and a
// script as a service account, whose own name for the Recycle Bin nobody at the desk would see.

#include "app/app.h"

// A token's user, with room for the longest SID after it.
typedef struct {
    alignas(TOKEN_USER) BYTE ab[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
} UserBuffer;

// The SID of a process's user, in the buffer; NULL where it cannot be read.
static PSID ReadProcessUser(HANDLE hProcess, UserBuffer *pBuffer)
{
    HANDLE hToken;
    DWORD cbReturned;
    BOOL fRead = FALSE;

    if (OpenProcessToken(hProcess, TOKEN_QUERY, &hToken)) {
        fRead = GetTokenInformation(hToken, TokenUser, pBuffer->ab, sizeof pBuffer->ab, &cbReturned);
        CloseHandle(hToken);
    }
    return fRead ? ((TOKEN_USER *)pBuffer->ab)->User.Sid : NULL;
}

// The shell's process owns the desktop window, or where a shell registers none (as Wine's),
// the taskbar. It is another user's where its token cannot be read: that, like no shell at
// all, counts as another desk.
BOOL IsDeskUser(void)
{
    UserBuffer self, desk;
    HWND hwndShell = GetShellWindow();
    DWORD pidShell = 0;
    HANDLE hShell;
    BOOL fSame = FALSE;

    GetWindowThreadProcessId(hwndShell != NULL ? hwndShell : FindWindowA("Shell_TrayWnd", NULL), &pidShell);
    // The limited right is granted on an elevated Explorer too; before Vista it is unknown.
    hShell = pidShell != 0 ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pidShell) : NULL;
    if (hShell == NULL && pidShell != 0)
        hShell = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pidShell);
    if (hShell != NULL) {
        PSID pSelf = ReadProcessUser(GetCurrentProcess(), &self);
        PSID pDesk = ReadProcessUser(hShell, &desk);
        fSame = pSelf != NULL && pDesk != NULL && EqualSid(pSelf, pDesk);
        CloseHandle(hShell);
    }
    return fSame;
}

BOOL IsServiceAccount(void)
{
    UserBuffer self;
    PSID pSelf = ReadProcessUser(GetCurrentProcess(), &self);

    return pSelf != NULL &&
           (IsWellKnownSid(pSelf, WinLocalSystemSid) || IsWellKnownSid(pSelf, WinLocalServiceSid) ||
            IsWellKnownSid(pSelf, WinNetworkServiceSid));
}
