/* Morvane's contract where it runs, on Windows or under Wine: the facts, one line per check, the count.
 * What a run may touch is saved to a file first and put back at the end, on Ctrl+C or close, or after
 * a kill by --restore FILE; every wait has a limit. Only --disposable-machine changes a descriptor.
 *   check_windows MORVANE_EXE [--snapshot FILE] [--disposable-machine]   |   check_windows --restore FILE */

#define _WIN32_WINNT 0x0A00 /* for PW_RENDERFULLCONTENT */
#include "../wine/harness.h"

#include <sddl.h>
#include <stdio.h>
#include <string.h>

#define TAIL         "Morvane check"
#define MACHINE_BIN  "SOFTWARE\\Classes\\" BIN_KEY /* the machine's key, in the 64-bit view */
#define PIN          "System.IsPinnedToNameSpaceTree"
#define GUARDED      "O:" TRUSTED_INSTALLER
#define SNAPSHOT_TAG "check_windows snapshot 1"
#define HKLM         HKEY_LOCAL_MACHINE
#define HKCU         HKEY_CURRENT_USER

/* What a run may touch, parents before children; a NULL name is the key itself, which the restore
 * deletes where a run made it. */
static const struct {
    HKEY root;
    const char *key, *name;
} Places[] = {{HKLM, MACHINE_BIN, ""},
              {HKLM, MACHINE_BIN, LOCALIZED},
              {HKLM, MACHINE_BIN "\\DefaultIcon", ""},
              {HKLM, "SOFTWARE\\Classes\\Wow6432Node\\" BIN_KEY, ""},
              {HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID", NULL},
              {HKCU, USER_KEY, NULL},
              {HKCU, USER_KEY, ""},
              {HKCU, "Software\\Classes\\CLSID", NULL},
              {HKCU, COPY_KEY, NULL},
              {HKCU, COPY_KEY, ""},
              {HKCU, COPY_KEY, LOCALIZED},
              {HKCU, COPY_KEY, PIN}};
enum { MachineLabel, MachineLocalized, WowLabel = 3, CopyLabel = 9, CopyLocalized, CopyPin, PLACES };

/* Command-line runs, in order: -1 is 0 where a rename for all users may succeed, else 4. */
static const struct {
    const char *what, *line;
    int exitCode;
    BOOL writesNothing;
} Runs[] = {
    {"rename: exit 0 where a rename for all users may succeed, else 4; the shell shows the tail",
     "morvane.exe " TAIL, -1, FALSE},
    {"rename: a tail of 49 bytes exits with 2",
     "morvane.exe 1234567890123456789012345678901234567890123456789", 2, TRUE},
    {"rename: the same tail again exits alike and writes nothing", "morvane.exe " TAIL, -1, TRUE},
};
static const char *const EditorRows[] = {
    "editor: opens as the started process's dialog", "editor: its field shows the shell's name",
    "editor: a screenshot is saved beside this program", "editor: Cancel ends it with exit code 0"};

static struct {
    char tag[32]; /* SNAPSHOT_TAG: what --restore takes */
    RegValue value[PLACES];
    BYTE sd[4096]; /* the machine's key's, and its owner, DACL and label in SDDL */
    char sddl[1024];
} Saved;
static char SnapshotPath[MAX_PATH], Why[512];
static CRITICAL_SECTION Restoring;
static BOOL Restored, Disposable, Exe64;
static int Passed, Failed, Skipped;

static void Verify(BOOL ok, const char *what)
{
    printf(ok ? "ok: %s\n" : "FAIL: %s: %s\n", what, Why);
    ok ? ++Passed : ++Failed;
}

static void SkipRow(const char *what, const char *why)
{
    printf("SKIP: %s: %s\n", what, why);
    ++Skipped;
}

static void ReadPlace(int i, RegValue *value)
{
    HKEY hKey;
    if (Places[i].name != NULL) {
        ReadNamed(Places[i].root, Places[i].key, Places[i].name, value);
        return;
    }
    memset(value, 0, sizeof *value);
    value->status = RegOpenKeyExA(Places[i].root, Places[i].key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &hKey);
    if ((value->exists = value->status == ERROR_SUCCESS))
        RegCloseKey(hKey);
}

/* A key's last write time, which any write to it moves; 0 where there is no such key. */
static ULONGLONG LastWrite(HKEY root, const char *key)
{
    FILETIME ft = {0, 0};
    HKEY hKey;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &hKey) == ERROR_SUCCESS) {
        RegQueryInfoKeyA(hKey, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &ft);
        RegCloseKey(hKey);
    }
    return (ULONGLONG)ft.dwHighDateTime << 32 | ft.dwLowDateTime;
}

/* The machine's key's descriptor into sd, and its owner, DACL and integrity label in SDDL. */
static void ReadKeySecurity(BYTE *sd, DWORD cbSd, char *sddl, size_t cbSddl)
{
    const SECURITY_INFORMATION parts =
        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | LABEL_SECURITY_INFORMATION;
    char *text = NULL;
    HKEY hKey;
    memset(sd, 0, cbSd);
    if (RegOpenKeyExA(HKLM, MACHINE_BIN, 0, READ_CONTROL | KEY_WOW64_64KEY, &hKey) == ERROR_SUCCESS) {
        if (RegGetKeySecurity(hKey, parts, sd, &cbSd) == ERROR_SUCCESS)
            ConvertSecurityDescriptorToStringSecurityDescriptorA(sd, SDDL_REVISION_1, parts, &text, NULL);
        RegCloseKey(hKey);
    }
    snprintf(sddl, cbSddl, "%s", text != NULL ? text : "(its security descriptor cannot be read)");
    LocalFree(text);
}

/* Enables or disables SeRestorePrivilege in this process's token; whether the token holds it. */
static BOOL RestorePrivilege(BOOL enable)
{
    TOKEN_PRIVILEGES privileges = {1, {{{0, 0}, enable ? SE_PRIVILEGE_ENABLED : 0}}};
    HANDLE hToken = NULL;
    BOOL held = OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &hToken) &&
                LookupPrivilegeValueA(NULL, SE_RESTORE_NAME, &privileges.Privileges[0].Luid) &&
                AdjustTokenPrivileges(hToken, FALSE, &privileges, 0, NULL, NULL) &&
                GetLastError() != ERROR_NOT_ALL_ASSIGNED; /* the call succeeds without the privilege */
    CloseHandle(hToken);
    return held;
}

/* Opens a key to change it; where its DACL refuses, through the restore privilege (enabled by the
 * caller), which also lets any owner be set. */
static LONG OpenToChange(HKEY root, const char *key, REGSAM sam, HKEY *hKey)
{
    LONG status = RegCreateKeyExA(root, key, 0, NULL, 0, sam | KEY_WOW64_64KEY, NULL, hKey, NULL);
    if (status == ERROR_ACCESS_DENIED)
        status = RegCreateKeyExA(root, key, 0, NULL, REG_OPTION_BACKUP_RESTORE, sam | KEY_WOW64_64KEY, NULL,
                                 hKey, NULL);
    return status;
}

/* The machine's key's owner and DACL from sd. */
static void PutKeySecurity(PSECURITY_DESCRIPTOR sd)
{
    HKEY hKey;
    if (OpenToChange(HKLM, MACHINE_BIN, WRITE_OWNER | WRITE_DAC, &hKey) == ERROR_SUCCESS) {
        RegSetKeySecurity(hKey, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, sd);
        RegCloseKey(hKey);
    }
}

/* Puts the descriptor and every place back, children before parents, and reads each back; the
 * snapshot file goes when all are as saved. */
static void PutBack(void)
{
    RegValue now;
    BYTE sd[sizeof Saved.sd];
    char sddl[sizeof Saved.sddl];
    int i, failed = Failed;
    HKEY hKey;

    RestorePrivilege(TRUE);
    ReadKeySecurity(sd, sizeof sd, sddl, sizeof sddl);
    if (strcmp(sddl, Saved.sddl) != 0)
        PutKeySecurity(Saved.sd);
    for (i = PLACES - 1; i >= 0; --i) {
        ReadPlace(i, &now);
        if (SameValue(&now, &Saved.value[i]))
            continue;
        if (Places[i].name == NULL)
            DeleteKey(Places[i].root, Places[i].key); /* made by a run, with what it holds */
        else if (OpenToChange(Places[i].root, Places[i].key, KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
            if (Saved.value[i].exists)
                RegSetValueExA(hKey, Places[i].name, 0, Saved.value[i].type, Saved.value[i].data,
                               Saved.value[i].cb);
            else
                RegDeleteValueA(hKey, Places[i].name);
            RegCloseKey(hKey);
        }
    }
    RestorePrivilege(FALSE);
    for (i = 0; i < PLACES; ++i) {
        ReadPlace(i, &now);
        snprintf(Why, sizeof Why, "%s\\%s [%s]", Places[i].root == HKLM ? "HKLM" : "HKCU", Places[i].key,
                 Places[i].name != NULL ? Places[i].name : "the key itself");
        if (!SameValue(&now, &Saved.value[i]))
            Verify(FALSE, "restore: a place is not as saved");
    }
    ReadKeySecurity(sd, sizeof sd, sddl, sizeof sddl);
    snprintf(Why, sizeof Why, "the class key's descriptor is %s, not %s", sddl, Saved.sddl);
    if (strcmp(sddl, Saved.sddl) != 0)
        Verify(FALSE, "restore: the descriptor is not as saved");
    if (Failed == failed && DeleteFileA(SnapshotPath))
        printf("restored; %s is deleted\n", SnapshotPath);
}

/* Once only: at main's end, at exit, on Ctrl+C or close, whichever comes first. */
static void Restore(void)
{
    EnterCriticalSection(&Restoring);
    if (!Restored)
        PutBack();
    Restored = TRUE;
    LeaveCriticalSection(&Restoring);
}

/* The snapshot file, written whole before the first run, read whole by --restore: only a file whose
 * tag, lengths and text fit is taken. */
static BOOL SnapshotFile(const char *mode)
{
    FILE *f = fopen(SnapshotPath, mode);
    BOOL ok = f != NULL &&
              (*mode == 'w' ? fwrite(&Saved, sizeof Saved, 1, f) : fread(&Saved, sizeof Saved, 1, f)) == 1;
    int i;

    for (i = 0; i < PLACES; ++i)
        ok = ok && (!Saved.value[i].exists || Saved.value[i].cb <= sizeof Saved.value[i].data);
    return f != NULL && fclose(f) == 0 && ok && memcmp(Saved.tag, SNAPSHOT_TAG, sizeof SNAPSHOT_TAG) == 0 &&
           memchr(Saved.sddl, '\0', sizeof Saved.sddl) != NULL;
}

/* NAME in this program's folder. */
static void BesideProgram(char *path, size_t cbPath, const char *name)
{
    char self[MAX_PATH] = "";
    const char *slash;

    GetModuleFileNameA(NULL, self, sizeof self - 1);
    slash = strrchr(self, '\\');
    snprintf(path, cbPath, "%.*s%s", slash ? (int)(slash + 1 - self) : 0, self, name);
}

static BOOL WINAPI OnConsoleControl(DWORD event)
{
    (void)event;
    Restore();
    return FALSE; /* the default handler then ends the process */
}

/* The shell-name query (this program again) ends itself where a shell extension hangs. */
static DWORD WINAPI EndQuery(LPVOID unused)
{
    (void)unused;
    Sleep(30000); /* a first query in a fresh Wine prefix, on a busy machine, takes over 10 s */
    TerminateProcess(GetCurrentProcess(), WAIT_TIMEOUT);
    return 0;
}

/* Whether the class key opens for writing under this token (NULL: this process's own). */
static BOOL MayWrite(HANDLE hToken)
{
    HANDLE hImpersonation = NULL;
    HKEY hKey;
    BOOL may = hToken == NULL || (DuplicateToken(hToken, SecurityImpersonation, &hImpersonation) &&
                                  SetThreadToken(NULL, hImpersonation));
    may = may && RegOpenKeyExA(HKLM, MACHINE_BIN, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &hKey) == ERROR_SUCCESS;
    if (may)
        RegCloseKey(hKey);
    if (hImpersonation != NULL)
        RevertToSelf(), CloseHandle(hImpersonation);
    return may;
}

/* Prints the facts; whether a rename for all users may succeed: where this token may write the class
 * key, or the exe may take the restore privilege's path (a 32-bit exe under WOW64 takes none). */
static BOOL PrintFacts(BOOL wow64Exe)
{
    typedef BOOL(WINAPI * IsKeyProtected)(HKEY, LPCWSTR, REGSAM);
    IsKeyProtected isProtected =
        (IsKeyProtected)(void (*)(void))GetProcAddress(LoadLibraryA("sfc.dll"), "SfcIsKeyProtected");
    const RegValue *label = &Saved.value[MachineLabel];
    BOOL elevated, may = MayWrite(NULL), held = RestorePrivilege(FALSE);
    int type = ProcessElevation(0, &elevated);
    char name[256];
    DWORD i, cch, valueType;
    HKEY hKey = NULL;

    printf("fact: HKLM\\%s: %s, label [%.*s]\nfact: SfcIsKeyProtected: %s\nfact: HKCU\\%s:", MACHINE_BIN,
           Saved.sddl, label->exists ? (int)label->cb : 0, (const char *)label->data,
           isProtected == NULL                                   ? "not in sfc.dll"
           : isProtected(HKLM, L"" MACHINE_BIN, KEY_WOW64_64KEY) ? "yes"
                                                                 : "no",
           COPY_KEY);
    if (RegOpenKeyExA(HKCU, COPY_KEY, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        printf(" none"), hKey = NULL;
    for (i = 0;
         hKey && (cch = sizeof name, !RegEnumValueA(hKey, i, name, &cch, NULL, &valueType, NULL, NULL)); ++i)
        printf(" [%s] of type %lu;", name, valueType);
    for (i = 0; hKey && !RegEnumKeyA(hKey, i, name, sizeof name); ++i)
        printf(" key %s;", name);
    printf("\nfact: token elevation type %d (1 default, 2 full, 3 filtered), %selevated, %sholds "
           "SeRestorePrivilege, may %swrite the class key\n",
           type, elevated ? "" : "not ", held ? "" : "not ", may ? "" : "not ");
    RegCloseKey(hKey);
    return may || (held && !wow64Exe);
}

/* The editor as it draws itself, whatever covers it, a 24-bit BMP beside this program. */
static BOOL Screenshot(HWND hwnd)
{
    char path[MAX_PATH];
    RECT rc;
    HDC hMem = CreateCompatibleDC(NULL);
    BITMAPINFOHEADER info = {sizeof info, 0, 0, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file = {0x4D42, 0, 0, 0, sizeof file + sizeof info};
    void *bits = NULL;
    FILE *f = NULL;
    HBITMAP hDib;
    BOOL ok = GetWindowRect(hwnd, &rc);

    info.biWidth = rc.right - rc.left;
    info.biHeight = rc.bottom - rc.top;
    file.bfSize =
        file.bfOffBits + (info.biSizeImage = ((DWORD)info.biWidth * 3 + 3) / 4 * 4 * (DWORD)info.biHeight);
    hDib = CreateDIBSection(hMem, (BITMAPINFO *)&info, DIB_RGB_COLORS, &bits, NULL, 0);
    SelectObject(hMem, hDib);
    BesideProgram(path, sizeof path, Exe64 ? "editor-x64.bmp" : "editor-x86.bmp");
    if (ok && PrintWindow(hwnd, hMem, PW_RENDERFULLCONTENT))
        f = fopen(path, "wb");
    ok = f != NULL && fwrite(&file, sizeof file, 1, f) && fwrite(&info, sizeof info, 1, f) &&
         fwrite(bits, info.biSizeImage, 1, f);
    if (f != NULL)
        fclose(f);
    DeleteDC(hMem);
    DeleteObject(hDib);
    return ok;
}

/* The editor, where it opens as the started process's dialog: under a filtered token that may not
 * write the key it asks for elevation, and the elevated editor is another process. */
static void CheckEditor(BOOL filtered)
{
    USEROBJECTFLAGS station = {FALSE, FALSE, 0};
    PROCESS_INFORMATION pi;
    ShellNames shown;
    HWND hEditor = NULL;
    WCHAR wide[64] = L"";
    char text[192] = "";
    DWORD code;
    int k;

    for (k = 0; filtered && k < 4; ++k)
        SkipRow(EditorRows[k],
                "a filtered token that may not write the class key: the editor asks for elevation");
    if (filtered)
        return;
    if (StartMorvane("morvane.exe", &pi))
        hEditor = WaitForWindow(pi.dwProcessId, "Morvane", NULL, 20000);
    snprintf(Why, sizeof Why, "none within 20 s; the process was ended");
    Verify(hEditor != NULL, EditorRows[0]);
    SendDlgItemMessageW(hEditor, 1000, WM_GETTEXT, 64, (LPARAM)wide);
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, NULL, NULL);
    ShellBinNames(&shown);
    snprintf(Why, sizeof Why, "[%s], where the shell shows [%s]", text, shown.normal);
    Verify(hEditor != NULL && strcmp(text, shown.normal) == 0, EditorRows[1]);
    snprintf(Why, sizeof Why, "not saved");
    GetUserObjectInformationA(GetProcessWindowStation(), UOI_FLAGS, &station, sizeof station, NULL);
    if (!(station.dwFlags & WSF_VISIBLE))
        SkipRow(EditorRows[2], "this window station is not visible: nothing is drawn");
    else if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != NULL)
        SkipRow(EditorRows[2], "Wine's PrintWindow draws another process's window black");
    else
        Verify(hEditor != NULL && Screenshot(hEditor), EditorRows[2]);
    PostMessageA(hEditor, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 (LPARAM)GetDlgItem(hEditor, IDCANCEL));
    code = WaitMorvane(&pi, hEditor != NULL ? 10000 : 0);
    snprintf(Why, sizeof Why, "exit %lu", code);
    Verify(code == 0, EditorRows[3]);
}

/* HKCR merges this account's copy over the machine's key value by value: with the copy holding only
 * its pin, LocalizedString read through HKCR is the machine's. The copy keeps its pin for later. */
static void CheckMerge(void)
{
    static const char what[] =
        "HKCR: this account's copy holds only its pin: LocalizedString is the machine's";
    static const DWORD one = 1;
    RegValue pin, merged;

    WriteNamed(HKCU, COPY_KEY, PIN, REG_DWORD, &one, sizeof one);
    DeleteNamed(HKCU, COPY_KEY, "");
    DeleteNamed(HKCU, COPY_KEY, LOCALIZED);
    ReadNamed(HKEY_CLASSES_ROOT, BIN_KEY, PIN, &pin);
    ReadNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, &merged);
    snprintf(Why, sizeof Why, "HKCR gives %.200s", merged.exists ? (const char *)merged.data : "none");
    if (!pin.exists || !Saved.value[MachineLocalized].exists)
        SkipRow(what, pin.exists
                          ? "the machine's key has no LocalizedString"
                          : "HKEY_CLASSES_ROOT does not show this account's copy (Wine does not merge them)");
    else
        Verify(SameValue(&merged, &Saved.value[MachineLocalized]), what);
}

/* Under a copy of this token with Administrators deny-only and no privileges (which needs no
 * privilege to start): the key refuses, the run stores this account's own name (exit 4), and
 * deleting that name, as restore-my-name.reg does, brings back the name shown before. */
static void CheckRestricted(void)
{
    static const char what[] =
        "restricted token: exit 4, the shell shows the tail, and without this account's "
        "own name the former name";
    BYTE sid[SECURITY_MAX_SID_SIZE];
    SID_AND_ATTRIBUTES admins = {sid, 0};
    DWORD cbSid = sizeof sid, code;
    HANDLE hToken = NULL, hRestricted = NULL;
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    ShellNames before, mine, after;
    char exe[MAX_PATH], line[] = "morvane.exe Morvane mine";
    BOOL made =
        CreateWellKnownSid(WinBuiltinAdministratorsSid, NULL, sid, &cbSid) &&
        OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY,
                         &hToken) &&
        CreateRestrictedToken(hToken, DISABLE_MAX_PRIVILEGE, 1, &admins, 0, NULL, 0, NULL, &hRestricted);

    if (made && MayWrite(hRestricted)) {
        SkipRow(what, "the class key opens for writing even so (Wine gives it no descriptor of its own)");
        CloseHandle(hRestricted);
        CloseHandle(hToken);
        return;
    }
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    ToDosPath(MorvaneExe(), exe, sizeof exe);
    DeleteNamed(HKCU, USER_KEY, "");
    ShellBinNames(&before);
    if (made && CreateProcessAsUserA(hRestricted, exe, line, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        code = WaitMorvane(&pi, 15000);
    else
        code = GetLastError() | 0x80000000; /* not started */
    ShellBinNames(&mine);
    DeleteNamed(HKCU, USER_KEY, "");
    ShellBinNames(&after);
    snprintf(Why, sizeof Why, "exit %#lx; the shell shows [%s], then [%s], not [%s]", code, mine.normal,
             after.normal, before.normal);
    Verify(code == 4 && strcmp(mine.normal, "Morvane mine") == 0 && strcmp(after.normal, before.normal) == 0,
           what);
    CloseHandle(hRestricted);
    CloseHandle(hToken);
}

/* This account's copy as the navigation-pane tweak makes it, with a default value besides: a rename
 * for all users stores the machine's label and leaves the copy only its pin. */
static void CheckCopy(BOOL renamed)
{
    static const char what[] = "this account's copy: exit 0, the machine's label is the tail, the copy keeps "
                               "only its pin, the shell shows the tail";
    RegValue label, copy, localized, pin;
    ShellNames shown;
    DWORD code;

    if (!renamed) {
        SkipRow(what, "this token may not write the class key");
        return;
    }
    WriteDefaultText(HKCU, COPY_KEY, "Morvane copy");
    code = RunMorvane("morvane.exe Morvane all");
    ShellBinNames(&shown);
    ReadPlace(MachineLabel, &label);
    ReadPlace(CopyLabel, &copy);
    ReadPlace(CopyLocalized, &localized);
    ReadPlace(CopyPin, &pin);
    snprintf(Why, sizeof Why, "exit %lu, the shell shows [%s]; or the label or the copy's values", code,
             shown.normal);
    Verify(code == 0 && IsStoredText(&label, REG_SZ, "Morvane all", 49) && !copy.exists &&
               !localized.exists && pin.exists && pin.type == REG_DWORD && pin.data[0] == 1 &&
               strcmp(shown.normal, "Morvane all") == 0,
           what);
}

/* Only with --disposable-machine: the key guarded as Windows guards it; an elevated run takes the
 * restore privilege's path from the 64-bit exe (exit 0), none from the 32-bit exe under WOW64 (exit
 * 4, neither view written); neither changes the owner, the DACL or Wow6432Node. The restore puts
 * the descriptor back. */
static void CheckGuarded(BOOL wow64Exe)
{
    static const char what[] =
        "guarded key: exit 0 and the label from the 64-bit exe, exit 4 and no view written "
        "from the 32-bit; owner, DACL and Wow6432Node as before";
    PSECURITY_DESCRIPTOR sd = NULL;
    BYTE now[sizeof Saved.sd];
    char before[sizeof Saved.sddl], after[sizeof Saved.sddl];
    ULONGLONG machine, wow;
    RegValue label;
    DWORD code, want = wow64Exe ? 4 : 0;

    if (!Disposable || !RestorePrivilege(TRUE)) {
        SkipRow(what, Disposable ? "this token does not hold SeRestorePrivilege"
                                 : "only with --disposable-machine: it changes the class key's descriptor");
        return;
    }
    if (strncmp(Saved.sddl, GUARDED, strlen(GUARDED)) != 0 &&
        ConvertStringSecurityDescriptorToSecurityDescriptorA(GUARDED GUARDED_DACL, SDDL_REVISION_1, &sd,
                                                             NULL))
        PutKeySecurity(sd);
    RestorePrivilege(FALSE);
    ReadKeySecurity(now, sizeof now, before, sizeof before);
    machine = LastWrite(HKLM, MACHINE_BIN);
    wow = LastWrite(HKLM, Places[WowLabel].key);
    code = RunMorvane("morvane.exe Morvane guarded");
    ReadKeySecurity(now, sizeof now, after, sizeof after);
    ReadPlace(MachineLabel, &label);
    snprintf(Why, sizeof Why, "exit %lu, not %lu; the descriptor %s, before %s; or a view's key written",
             code, want, after, before);
    Verify(code == want && strncmp(before, GUARDED, strlen(GUARDED)) == 0 && strcmp(before, after) == 0 &&
               (want ? LastWrite(HKLM, MACHINE_BIN) == machine
                     : IsStoredText(&label, REG_SZ, "Morvane guarded", 49)) &&
               LastWrite(HKLM, Places[WowLabel].key) == wow,
           what);
    LocalFree(sd);
}

int main(int argc, char **argv)
{
    ULONGLONG label, user;
    ShellNames shown;
    DWORD code, renamed, binary = 0;
    BOOL elevated, wow64 = FALSE, wow64Exe, filtered;
    char exe[MAX_PATH];
    int i;

    if (argc == 2 && strcmp(argv[1], "--shell-name") == 0)
        CreateThread(NULL, 0, EndQuery, NULL, 0, NULL);
    InitializeCriticalSection(&Restoring);
    if (argc == 3 && strcmp(argv[1], "--restore") == 0) {
        snprintf(SnapshotPath, sizeof SnapshotPath, "%s", argv[2]);
        if (!SnapshotFile("rb")) {
            printf("FAIL: %s cannot be read as a snapshot\n", SnapshotPath);
            return 1;
        }
        Restore();
        return Failed != 0;
    }
    BesideProgram(SnapshotPath, sizeof SnapshotPath, "check_windows.snapshot");
    for (i = 2; i < argc; ++i)
        if (strcmp(argv[i], "--snapshot") == 0 && i + 1 < argc)
            snprintf(SnapshotPath, sizeof SnapshotPath, "%s", argv[++i]);
        else if (strcmp(argv[i], "--disposable-machine") == 0)
            Disposable = TRUE;
        else
            argc = 1;
    if (argc < 2) {
        printf("usage: %s MORVANE_EXE [--snapshot FILE] [--disposable-machine]\n       %s --restore FILE\n",
               argv[0], argv[0]);
        return 2;
    }
    InitHarness(2, argv, "");
    for (i = 0; i < PLACES; ++i) {
        ReadPlace(i, &Saved.value[i]);
        if (!Saved.value[i].exists && Saved.value[i].status != ERROR_FILE_NOT_FOUND) {
            printf("FAIL: %s [%s] cannot be read (%ld) to be put back: nothing was run\n", Places[i].key,
                   Places[i].name ? Places[i].name : "", Saved.value[i].status);
            return 1;
        }
    }
    ReadKeySecurity(Saved.sd, sizeof Saved.sd, Saved.sddl, sizeof Saved.sddl);
    snprintf(Saved.tag, sizeof Saved.tag, "%s", SNAPSHOT_TAG);
    if (GetFileAttributesA(SnapshotPath) != INVALID_FILE_ATTRIBUTES || !SnapshotFile("wb")) {
        printf("FAIL: %s is an earlier run's snapshot (put it back with --restore), or cannot be written: "
               "nothing was run\n",
               SnapshotPath);
        return 1;
    }
    atexit(Restore);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    printf("snapshot: %s\n", SnapshotPath);

    ToDosPath(MorvaneExe(), exe, sizeof exe);
    GetBinaryTypeA(exe, &binary);
    Exe64 = binary == SCS_64BIT_BINARY;
    IsWow64Process(GetCurrentProcess(), &wow64);
    wow64Exe = !Exe64 && (sizeof(void *) == 8 || wow64);
    renamed = PrintFacts(wow64Exe) ? 0 : 4;
    filtered = ProcessElevation(0, &elevated) == TokenElevationTypeLimited && !MayWrite(NULL);
    CheckMerge();
    for (i = 0; i < (int)(sizeof Runs / sizeof Runs[0]); ++i) {
        DWORD want = Runs[i].exitCode < 0 ? renamed : (DWORD)Runs[i].exitCode;
        label = LastWrite(HKLM, MACHINE_BIN);
        user = LastWrite(HKCU, USER_KEY);
        code = RunMorvane(Runs[i].line);
        ShellBinNames(&shown);
        snprintf(Why, sizeof Why, "exit %lu, not %lu; the shell shows [%s]; or a key was written", code, want,
                 shown.normal);
        Verify(code == want && strcmp(shown.normal, TAIL) == 0 &&
                   (!Runs[i].writesNothing ||
                    (label == LastWrite(HKLM, MACHINE_BIN) && user == LastWrite(HKCU, USER_KEY))),
               Runs[i].what);
    }
    CheckEditor(filtered);
    CheckRestricted();
    CheckCopy(renamed == 0);
    CheckGuarded(wow64Exe);

    Restore();
    printf("%d passed, %d failed, %d skipped\n", Passed, Failed, Skipped);
    return Failed != 0;
}
