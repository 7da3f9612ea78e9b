// Morvane - who may write the machine's class key, and the restore privilege, enabled on a copy
// of the process's token that this thread impersonates, so that reverting to the process's own
// token puts it back whatever failed. Only platform calls: they are checked under Wine.

#include "shellstore/guardedkey.h"

#include "shellstore/binreg.h"

// The whole descriptor, its label included, which the token's integrity is checked against.
BOOL CheckBinLabelWriteAccess(HANDLE hToken, BOOL *pfGranted)
{
    static const GENERIC_MAPPING keyMapping = {KEY_READ, KEY_WRITE, KEY_EXECUTE, KEY_ALL_ACCESS};
    static const SECURITY_INFORMATION siAsked = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                                DACL_SECURITY_INFORMATION | LABEL_SECURITY_INFORMATION;
    alignas(SECURITY_DESCRIPTOR) BYTE descriptor[512];
    PSECURITY_DESCRIPTOR pDescriptor = descriptor;
    PRIVILEGE_SET privileges;
    DWORD cbDescriptor = sizeof descriptor, cbPrivileges = sizeof privileges, dwGranted;
    HKEY hKey;
    LONG lStatus =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, BIN_MACHINE_KEY, 0, READ_CONTROL | KEY_WOW64_64KEY, &hKey);

    if (lStatus == ERROR_SUCCESS) {
        lStatus = RegGetKeySecurity(hKey, siAsked, pDescriptor, &cbDescriptor);
        if (lStatus == ERROR_INSUFFICIENT_BUFFER &&
            (pDescriptor = LocalAlloc(LMEM_FIXED, cbDescriptor)) != NULL)
            lStatus = RegGetKeySecurity(hKey, siAsked, pDescriptor, &cbDescriptor);
        RegCloseKey(hKey);
    }
    BOOL fChecked =
        lStatus == ERROR_SUCCESS && pDescriptor != NULL &&
        AccessCheck(pDescriptor, hToken, KEY_SET_VALUE, const_cast<GENERIC_MAPPING *>(&keyMapping),
                    &privileges, &cbPrivileges, &dwGranted, pfGranted);
    if (pDescriptor != descriptor)
        LocalFree(pDescriptor);
    return fChecked;
}

typedef BOOL(WINAPI *ISWOW64PROCESSPROC)(HANDLE hProcess, PBOOL pfWow64Process);

static BOOL CanWriteForRestore(void)
{
    BOOL fWow64 = FALSE;

    if (LOBYTE(LOWORD(GetVersion())) < 6)
        return FALSE;
#ifndef _WIN64
    // Looked up: the call needs XP SP2; without it no process runs under WOW64.
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    ISWOW64PROCESSPROC pfnIsWow64Process =
        hKernel ? (ISWOW64PROCESSPROC)(void (*)(void))GetProcAddress(hKernel, "IsWow64Process") : NULL;
    if (pfnIsWow64Process != NULL && !pfnIsWow64Process(GetCurrentProcess(), &fWow64))
        return FALSE;
#endif
    return !fWow64;
}

BOOL CouldWriteForRestore(HANDLE hToken)
{
    alignas(TOKEN_PRIVILEGES) BYTE ab[1024];
    const TOKEN_PRIVILEGES *pPrivileges = (const TOKEN_PRIVILEGES *)ab;
    DWORD cbReturned;
    LUID luid;

    if (!CanWriteForRestore() || !LookupPrivilegeValueA(NULL, SE_RESTORE_NAME, &luid) ||
        !GetTokenInformation(hToken, TokenPrivileges, ab, sizeof ab, &cbReturned))
        return FALSE;
    for (DWORD i = 0; i < pPrivileges->PrivilegeCount; ++i)
        if (pPrivileges->Privileges[i].Luid.LowPart == luid.LowPart &&
            pPrivileges->Privileges[i].Luid.HighPart == luid.HighPart)
            return TRUE;
    return FALSE;
}

// A thread that could not revert would go on with the privilege enabled: the run ends there,
// as one that stored nothing.
static void RevertOrEnd(void)
{
    if (!RevertToSelf())
        ExitProcess(1);
}

// AdjustTokenPrivileges succeeds where the token lacks the privilege: only the last error
// tells.
BOOL BeginRestoreWrite(void)
{
    TOKEN_PRIVILEGES privileges;
    HANDLE hToken;
    BOOL fEnabled = FALSE;

    if (!CanWriteForRestore() || !ImpersonateSelf(SecurityImpersonation))
        return FALSE;
    if (OpenThreadToken(GetCurrentThread(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, FALSE, &hToken)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        fEnabled = LookupPrivilegeValueA(NULL, SE_RESTORE_NAME, &privileges.Privileges[0].Luid) &&
                   AdjustTokenPrivileges(hToken, FALSE, &privileges, 0, NULL, NULL) &&
                   GetLastError() != ERROR_NOT_ALL_ASSIGNED;
        CloseHandle(hToken);
    }
    if (!fEnabled) {
        RevertOrEnd();
        return FALSE;
    }
    UseRestoreOpens(TRUE);
    return TRUE;
}

void EndRestoreWrite(void)
{
    UseRestoreOpens(FALSE);
    RevertOrEnd();
}
