/* Morvane's contract where it runs, on Windows or under Wine: the facts first (the class key's
 * owner and DACL, this token and whether it may write the key), then one line per check, then
 * the count. What a run may touch is put back as it was, types included, whatever failed;
 * every wait has a limit.   check_windows.exe MORVANE_EXE */

#include "../wine/harness.h"

#include <sddl.h>
#include <stdio.h>
#include <string.h>

#define TAIL      "Morvane check"
#define USER_COPY "Software\\Classes\\" BIN_KEY /* the user's own copy, which HKCR shows first */

static const struct {
    HKEY root;
    const char *key, *name;
} Places[] = {{HKEY_CLASSES_ROOT, BIN_KEY, ""},   {HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED},
              {HKEY_CLASSES_ROOT, ICON_KEY, ""},  {HKEY_CURRENT_USER, USER_KEY, ""},
              {HKEY_CURRENT_USER, USER_COPY, ""}, {HKEY_CURRENT_USER, USER_COPY, LOCALIZED}};
#define PLACES (sizeof Places / sizeof Places[0])

/* Command-line runs, in order: -1 is 0 where this token may write the class key, else 4. */
static const struct {
    const char *what, *line;
    int exitCode;
    BOOL writesNothing;
} Runs[] = {
    {"rename: exit 0 where this token may write the class key, else 4; the shell shows the tail",
     "morvane.exe " TAIL, -1, FALSE},
    {"rename: a tail of 49 bytes exits with 2",
     "morvane.exe 1234567890123456789012345678901234567890123456789", 2, TRUE},
    {"rename: the same tail again exits alike and writes nothing", "morvane.exe " TAIL, -1, TRUE},
};

static int Passed, Failed;
static char Why[512];

static void Verify(BOOL ok, const char *what)
{
    printf(ok ? "ok: %s\n" : "FAIL: %s: %s\n", what, Why);
    ok ? ++Passed : ++Failed;
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

/* Prints the facts; whether this token may write the class key, by the key's descriptor. */
static BOOL PrintFacts(void)
{
    GENERIC_MAPPING mapping = {KEY_READ, KEY_WRITE, KEY_EXECUTE, KEY_ALL_ACCESS};
    PRIVILEGE_SET privileges;
    BYTE sd[4096] = {0}; /* an invalid descriptor, which no access check passes, until read */
    DWORD cb = sizeof sd, cbPrivileges = sizeof privileges, granted;
    char *sddl = "(its security descriptor cannot be read)";
    HKEY hKey;
    HANDLE hToken = NULL, hIdentity = NULL;
    BOOL elevated, may = FALSE;
    int type = ProcessElevation(0, &elevated);

    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, BIN_KEY, 0, READ_CONTROL | KEY_WOW64_64KEY, &hKey) ==
        ERROR_SUCCESS) {
        if (RegGetKeySecurity(
                hKey, OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, sd,
                &cb) == ERROR_SUCCESS)
            ConvertSecurityDescriptorToStringSecurityDescriptorA(
                sd, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &sddl, NULL);
        RegCloseKey(hKey);
    }
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &hToken);
    DuplicateToken(hToken, SecurityIdentification, &hIdentity);
    AccessCheck(sd, hIdentity, KEY_SET_VALUE, &mapping, &privileges, &cbPrivileges, &granted, &may);
    printf("fact: HKCR\\%s: %s\nfact: HKCU\\%s: %s\n", BIN_KEY, sddl, USER_COPY,
           LastWrite(HKEY_CURRENT_USER, USER_COPY) ? "present" : "none");
    printf("fact: token elevation type %d (1 default, 2 full, 3 filtered), %selevated, may %swrite the class "
           "key\n",
           type, elevated ? "" : "not ", may ? "" : "not ");
    CloseHandle(hIdentity);
    CloseHandle(hToken);
    return may;
}

/* The editor as the screen shows it, a 24-bit BMP beside this program: editor-x64.bmp or -x86. */
static BOOL Screenshot(HWND hwnd)
{
    char path[MAX_PATH], exe[MAX_PATH];
    DWORD binary = 0;
    RECT rc;
    HDC hScreen = GetDC(NULL), hMem = CreateCompatibleDC(hScreen);
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
    ToDosPath(MorvaneExe(), exe, sizeof exe);
    GetBinaryTypeA(exe, &binary);
    GetModuleFileNameA(NULL, path, sizeof path);
    strcpy(strrchr(path, '\\') + 1, binary == SCS_64BIT_BINARY ? "editor-x64.bmp" : "editor-x86.bmp");
    if (ok && BitBlt(hMem, 0, 0, info.biWidth, info.biHeight, hScreen, rc.left, rc.top, SRCCOPY))
        f = fopen(path, "wb");
    ok = f != NULL && fwrite(&file, sizeof file, 1, f) && fwrite(&info, sizeof info, 1, f) &&
         fwrite(bits, info.biSizeImage, 1, f);
    if (f != NULL)
        fclose(f);
    DeleteDC(hMem);
    DeleteObject(hDib);
    ReleaseDC(NULL, hScreen);
    return ok;
}

int main(int argc, char **argv)
{
    RegValue saved[PLACES], now;
    ULONGLONG existed[PLACES], label, user;
    PROCESS_INFORMATION pi;
    ShellNames shown;
    HWND hEditor = NULL;
    WCHAR wide[64] = L"";
    char text[192] = "";
    DWORD code, renamed;
    BOOL elevated;
    size_t i;

    InitHarness(argc, argv, "");
    for (i = 0; i < PLACES; ++i) {
        ReadNamed(Places[i].root, Places[i].key, Places[i].name, &saved[i]);
        existed[i] = LastWrite(Places[i].root, Places[i].key);
        if (!saved[i].exists && saved[i].status != ERROR_FILE_NOT_FOUND) {
            printf("FAIL: %s [%s] cannot be read (%ld) to be put back: nothing was run\n", Places[i].key,
                   Places[i].name, saved[i].status);
            return 1;
        }
    }
    renamed = PrintFacts() ? 0 : 4;

    for (i = 0; i < sizeof Runs / sizeof Runs[0]; ++i) {
        DWORD want = Runs[i].exitCode < 0 ? renamed : (DWORD)Runs[i].exitCode;
        label = LastWrite(HKEY_CLASSES_ROOT, BIN_KEY);
        user = LastWrite(HKEY_CURRENT_USER, USER_KEY);
        code = RunMorvane(Runs[i].line);
        ShellBinNames(&shown);
        snprintf(Why, sizeof Why, "exit %lu, not %lu; the shell shows [%s]; or a key was written", code, want,
                 shown.normal);
        Verify(code == want && strcmp(shown.normal, TAIL) == 0 &&
                   (!Runs[i].writesNothing || (label == LastWrite(HKEY_CLASSES_ROOT, BIN_KEY) &&
                                               user == LastWrite(HKEY_CURRENT_USER, USER_KEY))),
               Runs[i].what);
    }

    /* A filtered token may bring up an elevation prompt that nobody answers: the started
     * process is then ended. */
    if (StartMorvane("morvane.exe", &pi))
        hEditor = WaitForWindow(pi.dwProcessId, "Morvane", NULL, 20000);
    snprintf(Why, sizeof Why, "none within 20 s%s; the process was ended",
             ProcessElevation(0, &elevated) == TokenElevationTypeLimited
                 ? " (filtered token: elevation prompt?)"
                 : "");
    Verify(hEditor != NULL, "editor: opens as the started process's dialog");
    SendDlgItemMessageW(hEditor, 1000, WM_GETTEXT, 64, (LPARAM)wide);
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, NULL, NULL);
    ShellBinNames(&shown);
    snprintf(Why, sizeof Why, "[%s], where the shell shows [%s]", text, shown.normal);
    Verify(hEditor != NULL && strcmp(text, shown.normal) == 0, "editor: its field shows the shell's name");
    snprintf(Why, sizeof Why, "not saved");
    Verify(hEditor != NULL && Screenshot(hEditor), "editor: a screenshot is saved beside this program");
    PostMessageA(GetDlgItem(hEditor, IDCANCEL), BM_CLICK, 0, 0);
    code = WaitMorvane(&pi, hEditor != NULL ? 10000 : 0);
    snprintf(Why, sizeof Why, "exit %lu", code);
    Verify(code == 0, "editor: Cancel ends it with exit code 0");

    for (i = 0; i < PLACES; ++i) { /* only what changed: a guarded key refuses even the same value */
        ReadNamed(Places[i].root, Places[i].key, Places[i].name, &now);
        if (saved[i].exists && !SameValue(&now, &saved[i]))
            WriteNamed(Places[i].root, Places[i].key, Places[i].name, saved[i].type, saved[i].data,
                       saved[i].cb);
        else if (existed[i] == 0 && LastWrite(Places[i].root, Places[i].key) != 0)
            DeleteKey(Places[i].root, Places[i].key); /* made by a run, as a name for this account is */
        else if (!saved[i].exists && now.exists)
            DeleteNamed(Places[i].root, Places[i].key, Places[i].name);
    }
    printf("%d passed, %d failed\n", Passed, Failed);
    return Failed != 0;
}
