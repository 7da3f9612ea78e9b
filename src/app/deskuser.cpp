// Morvane - whose desktop this is: an elevated copy may run as another administrator, whose
// own name for the Recycle Bin the person at the desk would never see.

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
    hShell = pidShell != 0 ? OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pidShell) : NULL;
    if (hShell != NULL) {
        PSID pSelf = ReadProcessUser(GetCurrentProcess(), &self);
        PSID pDesk = ReadProcessUser(hShell, &desk);
        fSame = pSelf != NULL && pDesk != NULL && EqualSid(pSelf, pDesk);
        CloseHandle(hShell);
    }
    return fSame;
}
