/* Morvane Wine tests - checks, the exact-line launcher, the registry probe, window lookup.
 * Values are read back through the ANSI interface, as morvane.exe itself reads them. */

#define COBJMACROS
#include "harness.h"

#include <aclapi.h>
#include <fcntl.h>
#include <io.h>
#include <sddl.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <tlhelp32.h>

static int Checks, Failures, Skips;
static const char *CaseName = "";
static char MorvanePath[MAX_PATH];
static const char *MorvaneArgument;
static char **Args;
static int ArgCount;

void Check(BOOL ok, const char *file, int line, const char *format, ...)
{
    va_list args;
    ++Checks;
    if (ok)
        return;
    ++Failures;
    printf("FAIL %s:%d [%s] ", file, line, CaseName);
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    printf("\n");
    fflush(stdout);
}

void Skip(const char *format, ...)
{
    va_list args;
    ++Skips;
    printf("SKIP [%s] ", CaseName);
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    printf("\n");
    fflush(stdout);
}

void BeginCase(const char *name)
{
    CaseName = name;
    printf("case: %s\n", name);
    fflush(stdout);
}

int EndTests(void)
{
    printf("%d checks, %d failed, %d skipped\n", Checks, Failures, Skips);
    return Failures == 0 ? 0 : 1;
}

void ToDosPath(const char *path, char *dos, size_t cbDos)
{
    size_t i = 0;
    if (path[0] == '/' && cbDos > 2) {
        dos[i++] = 'Z';
        dos[i++] = ':';
    }
    for (; *path != '\0' && i + 1 < cbDos; ++path)
        dos[i++] = *path == '/' ? '\\' : *path;
    dos[i] = '\0';
}

/* The label's data as the wide interface gives them, into the cbData bytes at data (a NUL
 * always left after them), and their size in bytes in *cb. */
static BOOL ReadLabelW(WCHAR *data, DWORD cbData, DWORD *cb)
{
    HKEY hKey;
    DWORD type = REG_NONE;
    LONG status = RegOpenKeyExA(HKEY_CLASSES_ROOT, BIN_KEY, 0, KEY_QUERY_VALUE, &hKey);

    memset(data, 0, cbData);
    *cb = cbData - sizeof(WCHAR);
    if (status != ERROR_SUCCESS)
        return FALSE;
    status = RegQueryValueExW(hKey, L"", NULL, &type, (BYTE *)data, cb);
    RegCloseKey(hKey);
    return status == ERROR_SUCCESS && type == REG_SZ;
}

/* The shell's two names for the Recycle Bin, then the stored label, one a line in UTF-8, in
 * this process. */
static int PrintShellBinNames(void)
{
    IShellFolder *desktop = NULL;
    LPITEMIDLIST pidl = NULL;
    STRRET str;
    SHFILEINFOW info;
    WCHAR wide[MAX_PATH];
    DWORD cb;
    char normal[3 * MAX_PATH], fileInfo[3 * MAX_PATH], label[3 * MAX_PATH];
    HRESULT hr = CoInitialize(NULL);

    _setmode(_fileno(stdout), _O_BINARY);
    if (SUCCEEDED(hr = SHGetDesktopFolder(&desktop)))
        hr = IShellFolder_ParseDisplayName(
            desktop, NULL, NULL, (LPWSTR)L"::{645FF040-5081-101B-9F08-00AA002F954E}", NULL, &pidl, NULL);
    if (SUCCEEDED(hr))
        hr = IShellFolder_GetDisplayNameOf(desktop, pidl, SHGDN_NORMAL, &str);
    if (SUCCEEDED(hr))
        hr = StrRetToBufW(&str, pidl, wide, MAX_PATH);
    if (FAILED(hr) || !WideCharToMultiByte(CP_UTF8, 0, wide, -1, normal, sizeof normal, NULL, NULL))
        snprintf(normal, sizeof normal, "(GetDisplayNameOf failed: 0x%08lx)", (unsigned long)hr);
    memset(&info, 0, sizeof info);
    if (pidl == NULL ||
        !SHGetFileInfoW((LPCWSTR)pidl, 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME) ||
        !WideCharToMultiByte(CP_UTF8, 0, info.szDisplayName, -1, fileInfo, sizeof fileInfo, NULL, NULL))
        snprintf(fileInfo, sizeof fileInfo, "(SHGetFileInfoW failed)");
    if (!ReadLabelW(wide, sizeof wide, &cb) ||
        !WideCharToMultiByte(CP_UTF8, 0, wide, -1, label, sizeof label, NULL, NULL))
        snprintf(label, sizeof label, "(none)");
    printf("%s\n%s\n%s\n", normal, fileInfo, label);
    fflush(stdout);
    CoTaskMemFree(pidl);
    if (desktop != NULL)
        IShellFolder_Release(desktop);
    return SUCCEEDED(hr) ? 0 : 1;
}

BOOL ShellBinNames(ShellNames *names)
{
    SECURITY_ATTRIBUTES sa;
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    HANDLE hRead, hWrite;
    char self[MAX_PATH], line[MAX_PATH + 32], output[2 * MAX_PATH + 4];
    DWORD cbOutput = 0, cbRead, exitCode;
    char *newline;
    BOOL started;

    snprintf(names->normal, sizeof names->normal, "(no answer)");
    snprintf(names->fileInfo, sizeof names->fileInfo, "(no answer)");
    sa.nLength = sizeof sa;
    sa.lpSecurityDescriptor = NULL;
    sa.bInheritHandle = TRUE;
    if (GetModuleFileNameA(NULL, self, sizeof self) == 0 || !CreatePipe(&hRead, &hWrite, &sa, 0))
        return FALSE;
    SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = hWrite;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    memset(&pi, 0, sizeof pi);
    snprintf(line, sizeof line, "\"%s\" --shell-name", self);
    started = CreateProcessA(self, line, NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi);
    CloseHandle(hWrite); /* the child holds its own copy; EOF comes when it ends */
    while (started && cbOutput + 1 < sizeof output &&
           ReadFile(hRead, output + cbOutput, sizeof output - 1 - cbOutput, &cbRead, NULL) && cbRead != 0)
        cbOutput += cbRead;
    CloseHandle(hRead);
    if (!started) {
        snprintf(names->normal, sizeof names->normal, "(no answer: the query did not start, %lu)",
                 GetLastError());
        return FALSE;
    }
    /* A failed query still prints what failed, in place of its name. */
    output[cbOutput] = '\0';
    if ((newline = strchr(output, '\n')) != NULL) {
        *newline++ = '\0';
        lstrcpynA(names->normal, output, sizeof names->normal);
        newline[strcspn(newline, "\n")] = '\0';
        lstrcpynA(names->fileInfo, newline, sizeof names->fileInfo);
    }
    exitCode = WaitMorvane(&pi, 15000);
    if (newline == NULL)
        snprintf(names->normal, sizeof names->normal, "(no answer: the query ended with %#lx)", exitCode);
    return exitCode == 0 && newline != NULL;
}

void CheckShownName(const char *text)
{
    ShellNames shown;
    CHECK(ShellBinNames(&shown), "the shell's name could not be asked");
    CHECK(strcmp(shown.normal, text) == 0, "GetDisplayNameOf gives [%s], not [%s]", shown.normal, text);
    CHECK(strcmp(shown.fileInfo, text) == 0, "SHGetFileInfoW gives [%s], not [%s]", shown.fileInfo, text);
}

void InitHarness(int argc, char **argv, const char *usage)
{
    int required = 0, allowed = 0;
    const char *p;

    if (argc == 2 && strcmp(argv[1], "--shell-name") == 0)
        exit(PrintShellBinNames());
    for (p = usage; *p != '\0'; p += strcspn(p, " ")) {
        p += strspn(p, " ");
        allowed += *p != '\0';
        required += *p != '\0' && *p != '[';
    }
    if (argc < 2 + required || argc > 2 + allowed) {
        printf("usage: %s MORVANE_EXE %s\n", argv[0], usage);
        exit(2);
    }
    MorvaneArgument = argv[1];
    ToDosPath(argv[1], MorvanePath, sizeof MorvanePath);
    Args = argv + 2;
    ArgCount = argc - 2;
    setvbuf(stdout, NULL, _IONBF, 0);
}

const char *MorvaneExe(void)
{
    return MorvaneArgument;
}

const char *Arg(int index)
{
    return index < ArgCount ? Args[index] : "";
}

/* As Explorer, cmd and PowerShell start programs: with the wide line, which CreateProcessW
 * may write into, so it gets a copy. */
BOOL StartProcess(const char *image, const char *line, PROCESS_INFORMATION *pi)
{
    STARTUPINFOW si;
    WCHAR wideImage[MAX_PATH], wideLine[1024];
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    memset(pi, 0, sizeof *pi);
    if (!MultiByteToWideChar(CP_ACP, 0, image, -1, wideImage, MAX_PATH) ||
        !MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line, -1, wideLine, 1024))
        return FALSE;
    return CreateProcessW(wideImage, wideLine, NULL, NULL, FALSE, 0, NULL, NULL, &si, pi);
}

void SkipIfWin32Refused(void)
{
    char reason[512];
    if (GetEnvironmentVariableA("MORVANE_WIN32_REFUSED", reason, sizeof reason) != 0) {
        if (Failures != 0)
            exit(EndTests());
        printf("SKIP: %s; the checks up to the first start of %s passed\n", reason, MorvanePath);
        EndTests();
        exit(77);
    }
}

BOOL StartMorvane(const char *line, PROCESS_INFORMATION *pi)
{
    SkipIfWin32Refused();
    return StartProcess(MorvanePath, line, pi);
}

/* The handles are closed here, once: a second call finds them gone and returns at once. */
DWORD WaitMorvane(PROCESS_INFORMATION *pi, DWORD msTimeout)
{
    DWORD exitCode = WAIT_TIMEOUT;
    if (pi->hProcess == NULL)
        return exitCode;
    if (WaitForSingleObject(pi->hProcess, msTimeout) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi->hProcess, &exitCode);
    else
        TerminateProcess(pi->hProcess, WAIT_TIMEOUT);
    CloseHandle(pi->hThread);
    CloseHandle(pi->hProcess);
    pi->hThread = pi->hProcess = NULL;
    return exitCode;
}

BOOL StartMorvaneTraced(const char *debug, const char *line, const char *logName, char *logPath,
                        size_t cbLogPath)
{
    char hex[256], command[4 * MAX_PATH];
    size_t k;

    snprintf(logPath, cbLogPath, "%s/%s", getenv("MORVANE_WORK"), logName);
    for (k = 0; line[k] != '\0' && 2 * k + 2 < sizeof hex; ++k)
        snprintf(hex + 2 * k, 3, "%02x", (unsigned char)line[k]);
    hex[2 * k] = '\0';
    snprintf(command, sizeof command,
             "WINEDEBUG=%s \"$MORVANE_WINE_LOADER\" \"$MORVANE_LAUNCH\" '%s' %s 2>'%s'", debug,
             MorvaneArgument, hex, logPath);
    SkipIfWin32Refused();
    return StartShell(command);
}

DWORD RunMorvane(const char *line)
{
    PROCESS_INFORMATION pi;
    if (!StartMorvane(line, &pi))
        return GetLastError() | 0x80000000;
    return WaitMorvane(&pi, 15000);
}

/* Keys are opened in the 64-bit view, the shell's, which a 32-bit program on 64-bit Windows
 * would otherwise not see; elsewhere the flag changes nothing. */
void ReadNamed(HKEY root, const char *key, const char *name, RegValue *value)
{
    HKEY hKey;
    memset(value, 0xCC, sizeof *value);
    value->exists = FALSE;
    value->status = RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &hKey);
    if (value->status != ERROR_SUCCESS)
        return;
    value->cb = sizeof value->data;
    value->status = RegQueryValueExA(hKey, name, NULL, &value->type, value->data, &value->cb);
    value->exists = value->status == ERROR_SUCCESS;
    RegCloseKey(hKey);
}

void ReadDefault(HKEY root, const char *key, RegValue *value)
{
    ReadNamed(root, key, "", value);
}

void WriteNamed(HKEY root, const char *key, const char *name, DWORD type, const void *data, DWORD cb)
{
    HKEY hKey;
    if (RegCreateKeyExA(root, key, 0, NULL, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, NULL, &hKey, NULL) !=
        ERROR_SUCCESS) {
        printf("cannot create %s\n", key);
        return;
    }
    RegSetValueExA(hKey, name, 0, type, (const BYTE *)data, cb);
    RegCloseKey(hKey);
}

void WriteDefault(HKEY root, const char *key, DWORD type, const void *data, DWORD cb)
{
    WriteNamed(root, key, "", type, data, cb);
}

void WriteDefaultText(HKEY root, const char *key, const char *text)
{
    WriteDefault(root, key, REG_SZ, text, (DWORD)strlen(text) + 1);
}

void DeleteKey(HKEY root, const char *key)
{
    RegDeleteTreeA(root, key);
    RegDeleteKeyExA(root, key, KEY_WOW64_64KEY, 0);
}

void DeleteNamed(HKEY root, const char *key, const char *name)
{
    HKEY hKey;
    if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &hKey) == ERROR_SUCCESS) {
        RegDeleteValueA(hKey, name);
        RegCloseKey(hKey);
    }
}

BOOL SameValue(const RegValue *a, const RegValue *b)
{
    if (a->exists != b->exists)
        return FALSE;
    return !a->exists || (a->type == b->type && a->cb == b->cb && memcmp(a->data, b->data, a->cb) == 0);
}

/* The whole field as morvane.exe stores it: the text, its NUL, zeros to the field's end. */
BOOL IsStoredText(const RegValue *value, DWORD type, const char *text, DWORD cbField)
{
    size_t cbText = strlen(text) + 1;
    DWORD i;
    if (!value->exists || value->type != type || value->cb != cbField ||
        memcmp(value->data, text, cbText) != 0)
        return FALSE;
    for (i = (DWORD)cbText; i < cbField; ++i)
        if (value->data[i] != 0)
            return FALSE;
    return TRUE;
}

BOOL IsStoredLabel(const char *text)
{
    WCHAR want[64], data[128];
    DWORD cb, i;
    DWORD cchText = (DWORD)MultiByteToWideChar(CP_UTF8, 0, text, -1, want, sizeof want / sizeof want[0]) - 1;
    DWORD cchField = cchText + 49 - (DWORD)strlen(text); /* the zero fill follows the text */

    if (strlen(text) > 48 || !ReadLabelW(data, sizeof data, &cb) || cb != cchField * sizeof(WCHAR) ||
        memcmp(data, want, cchText * sizeof(WCHAR)) != 0)
        return FALSE;
    for (i = cchText; i < cchField; ++i)
        if (data[i] != 0)
            return FALSE;
    return TRUE;
}

/* A read-only key makes every write to it fail with ERROR_ACCESS_DENIED. */
BOOL SetKeyReadOnly(HKEY root, const char *key, BOOL readOnly)
{
    return SetKeyDacl(root, key, readOnly ? "D:P(A;;KR;;;WD)" : NULL);
}

/* The key's owner, the test's own user, may always change its DACL back. */
BOOL SetKeyDacl(HKEY root, const char *key, const char *sddl)
{
    HKEY hKey;
    PSECURITY_DESCRIPTOR sd = NULL;
    LONG status;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl ? sddl : "D:P(A;;KA;;;WD)",
                                                              SDDL_REVISION_1, &sd, NULL))
        return FALSE;
    status = RegOpenKeyExA(root, key, 0, WRITE_DAC, &hKey);
    if (status == ERROR_SUCCESS) {
        status = RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, sd);
        RegCloseKey(hKey);
    }
    LocalFree(sd);
    return status == ERROR_SUCCESS;
}

/* Deletes the class key, the sound and the user's own key, then copies the class key back
 * from the fixture's copy of the fresh prefix's, with its subkeys. */
static void RestoreBinKey(BOOL restore)
{
    HKEY hPristine, hBin;
    DeleteKey(HKEY_CLASSES_ROOT, BIN_KEY);
    DeleteKey(HKEY_CURRENT_USER, SOUND_KEY);
    DeleteKey(HKEY_CURRENT_USER, USER_KEY);
    DeleteKey(HKEY_CURRENT_USER, COPY_KEY);
    if (!restore)
        return;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, PRISTINE_KEY, 0, KEY_READ, &hPristine) != ERROR_SUCCESS) {
        printf("no copy of the fresh class key at HKCU\\%s: was the prefix made by fixture.sh?\n",
               PRISTINE_KEY);
        return;
    }
    if (RegCreateKeyA(HKEY_CLASSES_ROOT, BIN_KEY, &hBin) == ERROR_SUCCESS) {
        if (RegCopyTreeA(hPristine, NULL, hBin) != ERROR_SUCCESS)
            printf("cannot copy the fresh class key back\n");
        RegCloseKey(hBin);
    }
    RegCloseKey(hPristine);
}

void SeedPristineBin(void)
{
    RestoreBinKey(TRUE);
}

void SeedBin(const char *label, BOOL localized)
{
    HKEY hKey;
    RestoreBinKey(label != NULL);
    if (label == NULL)
        return;
    WriteDefaultText(HKEY_CLASSES_ROOT, BIN_KEY, label);
    WriteDefault(HKEY_CLASSES_ROOT, ICON_KEY, REG_EXPAND_SZ, ICON_TEXT, sizeof ICON_TEXT);
    if (localized) {
        WriteNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, REG_EXPAND_SZ, SYSTEM_NAME, sizeof SYSTEM_NAME);
    } else if (RegOpenKeyExA(HKEY_CLASSES_ROOT, BIN_KEY, 0, KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
        RegDeleteValueA(hKey, LOCALIZED);
        RegCloseKey(hKey);
    }
}

void SeedUserName(const char *name)
{
    static const char full[] = "%SystemRoot%\\System32\\shell32.dll,32";
    WriteNamed(HKEY_CURRENT_USER, USER_KEY "\\DefaultIcon", "full", REG_EXPAND_SZ, full, sizeof full);
    if (name != NULL)
        WriteDefaultText(HKEY_CURRENT_USER, USER_KEY, name);
}

typedef struct {
    DWORD pid;
    const char *caption;
    HWND owner;
    HWND found;
} WindowQuery;

static BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam)
{
    WindowQuery *q = (WindowQuery *)lParam;
    DWORD pid = 0;
    char caption[256], cls[64];
    GetWindowThreadProcessId(hwnd, &pid);
    if ((q->pid != 0 && pid != q->pid) || !IsWindowVisible(hwnd))
        return TRUE;
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (strcmp(cls, "#32770") != 0 || strcmp(caption, q->caption) != 0)
        return TRUE;
    if (q->owner != NULL && GetWindow(hwnd, GW_OWNER) != q->owner)
        return TRUE;
    q->found = hwnd;
    return FALSE;
}

HWND WaitForWindow(DWORD pid, const char *caption, HWND owner, DWORD msTimeout)
{
    WindowQuery q;
    DWORD start = GetTickCount();
    q.pid = pid;
    q.caption = caption;
    q.owner = owner;
    do {
        q.found = NULL;
        EnumWindows(MatchWindow, (LPARAM)&q);
        if (q.found != NULL)
            return q.found;
        Sleep(50);
    } while (GetTickCount() - start < msTimeout);
    return NULL;
}

/* Wine starts a Linux program detached and hands back no handles of the caller's: the
 * fields it fills are leftovers, and closing one would close some other handle of this
 * process. So nothing is closed here. The script reports the command's exit status in a
 * marker file, written whole by a rename, and WaitShell waits for that file. */
/* A file of the shell commands' in the work folder: its Linux path, and the same for Wine. */
static BOOL ShellFile(const char *name, char *path, size_t cbPath, char *dos, size_t cbDos)
{
    char work[MAX_PATH];
    if (GetEnvironmentVariableA("MORVANE_WORK", work, sizeof work) == 0)
        return FALSE;
    snprintf(path, cbPath, "%s/%s", work, name);
    ToDosPath(path, dos, cbDos);
    return TRUE;
}

BOOL StartShell(const char *command)
{
    char script[MAX_PATH], dosScript[MAX_PATH], done[MAX_PATH], line[2 * MAX_PATH];
    PROCESS_INFORMATION pi;
    STARTUPINFOA si;
    FILE *f;

    if (!ShellFile("shell.done", done, sizeof done, line, sizeof line) ||
        !ShellFile("shell.sh", script, sizeof script, dosScript, sizeof dosScript))
        return FALSE;
    DeleteFileA(line);
    if ((f = fopen(dosScript, "wb")) == NULL)
        return FALSE;
    /* The marker is named from the script's own path, so no path is quoted in it. */
    fprintf(f, "(\n%s\n)\necho $? >\"$0.status\" && mv \"$0.status\" \"${0%%.sh}.done\"\n", command);
    fclose(f);

    snprintf(line, sizeof line, "Z:\\bin\\sh \"%s\"", script);
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    memset(&pi, 0, sizeof pi);
    return CreateProcessA(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi);
}

int WaitShell(DWORD msTimeout)
{
    char done[MAX_PATH], dosPath[MAX_PATH];
    DWORD start = GetTickCount();
    int status = SHELL_FAILED;
    FILE *f;

    if (!ShellFile("shell.done", done, sizeof done, dosPath, sizeof dosPath))
        return SHELL_FAILED;
    while ((f = fopen(dosPath, "rb")) == NULL) {
        if (GetTickCount() - start > msTimeout)
            return SHELL_FAILED;
        Sleep(50);
    }
    if (fscanf(f, "%d", &status) != 1)
        status = SHELL_FAILED;
    fclose(f);
    return status;
}

int RunShell(const char *command, DWORD msTimeout)
{
    return StartShell(command) ? WaitShell(msTimeout) : SHELL_FAILED;
}

BOOL HasTool(const char *toolVariable)
{
    char tool[MAX_PATH];
    return GetEnvironmentVariableA(toolVariable, tool, sizeof tool) != 0;
}

int ProcessElevation(DWORD pid, BOOL *elevated)
{
    HANDLE hProcess =
        pid == 0 ? GetCurrentProcess() : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    HANDLE hToken;
    TOKEN_ELEVATION_TYPE type = (TOKEN_ELEVATION_TYPE)0;
    TOKEN_ELEVATION elevation;
    DWORD cb;

    *elevated = FALSE;
    if (hProcess == NULL)
        return 0;
    if (OpenProcessToken(hProcess, TOKEN_QUERY, &hToken)) {
        if (!GetTokenInformation(hToken, TokenElevationType, &type, sizeof type, &cb))
            type = (TOKEN_ELEVATION_TYPE)0;
        if (GetTokenInformation(hToken, TokenElevation, &elevation, sizeof elevation, &cb))
            *elevated = elevation.TokenIsElevated != 0;
        CloseHandle(hToken);
    }
    if (pid != 0)
        CloseHandle(hProcess);
    return (int)type;
}

int CountProcesses(const char *image)
{
    PROCESSENTRY32 entry;
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    int count = 0;

    if (hSnapshot == INVALID_HANDLE_VALUE)
        return -1;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(hSnapshot, &entry); more; more = Process32Next(hSnapshot, &entry))
        count += lstrcmpiA(entry.szExeFile, image) == 0;
    CloseHandle(hSnapshot);
    return count;
}
