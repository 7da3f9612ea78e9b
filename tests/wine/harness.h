/* Morvane Wine tests - what every test program shares: checks, the launcher that
 * starts morvane.exe with an exact command line, the registry probe and window lookup. */
#ifndef MORVANE_HARNESS_H
#define MORVANE_HARNESS_H

#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#include <windows.h>

#define BIN_KEY   "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}"
#define ICON_KEY  BIN_KEY "\\DefaultIcon"
#define SOUND_KEY "AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin\\.Current"
#define ICON_TEXT "%SystemRoot%\\System32\\shell32.dll,31"
#define USER_KEY  "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\" BIN_KEY
#define LOCALIZED "LocalizedString"
#define COPY_KEY  "Software\\Classes\\" BIN_KEY /* this account's copy, which Windows' HKCR shows first */
/* What Windows keeps in LocalizedString; Wine resolves it to its own name for the bin. */
#define SYSTEM_NAME "@%SystemRoot%\\system32\\shell32.dll,-8964"
/* Where the fixture saves the prefix's class key as Wine made it. */
#define PRISTINE_KEY "Software\\Morvane Tests\\Recycle Bin class"

/* Results: one line per check, the caller's file and line on a failure. */
void Check(BOOL ok, const char *file, int line, const char *format, ...);
#define CHECK(ok, ...) Check((ok) != 0, __FILE__, __LINE__, __VA_ARGS__)
void Skip(const char *format, ...);
void BeginCase(const char *name);
int EndTests(void); /* the exit code: 0 when every check passed */

/* Arguments every test program takes: morvane.exe's path, then its own, named in usage
 * ("RESTORE_REG_FILE"; an optional one in brackets). A wrong count prints the usage and exits
 * with 2. Every test program also answers "--shell-name" (see ShellBinNames; a third line is
 * the stored label, read through the wide interface) and then ends. */
void InitHarness(int argc, char **argv, const char *usage);
const char *Arg(int index);
const char *MorvaneExe(void); /* morvane.exe's path as given */
void ToDosPath(const char *path, char *dos, size_t cbDos);

/* The launcher: CreateProcessW with the exact command line, given in UTF-8, and morvane.exe
 * as the image. Where
 * the host refuses morvane.exe's 32-bit code (MORVANE_WIN32_REFUSED, set by the fixture), the
 * first start ends the program instead: skipped (77) with the reason, or failed (1) when a
 * check before it failed. */
BOOL StartProcess(const char *image, const char *line, PROCESS_INFORMATION *pi);
BOOL StartMorvane(const char *line, PROCESS_INFORMATION *pi);
void SkipIfWin32Refused(void); /* what StartMorvane does first, for a start of another kind */
DWORD WaitMorvane(PROCESS_INFORMATION *pi, DWORD msTimeout); /* exit code, or WAIT_TIMEOUT after a kill */
DWORD RunMorvane(const char *line);
/* The same started from the shell through the launcher, under WINEDEBUG=debug, with Wine's debug
 * output in the work folder's file logName (its path in logPath); WaitShell gives the exit code.
 * The pid is the shell's to know: windows are found by any process. */
BOOL StartMorvaneTraced(const char *debug, const char *line, const char *logName, char *logPath,
                        size_t cbLogPath);

/* The registry probe: default values with their exact type, length and bytes. */
typedef struct {
    BOOL exists;
    LONG status; /* of the open, else of the query: ERROR_FILE_NOT_FOUND for a missing value */
    DWORD type;
    DWORD cb;
    BYTE data[512];
} RegValue;
void ReadNamed(HKEY root, const char *key, const char *name, RegValue *value);
void ReadDefault(HKEY root, const char *key, RegValue *value);
void WriteNamed(HKEY root, const char *key, const char *name, DWORD type, const void *data, DWORD cb);
void WriteDefault(HKEY root, const char *key, DWORD type, const void *data, DWORD cb);
void WriteDefaultText(HKEY root, const char *key, const char *text); /* REG_SZ, text and its NUL */
void DeleteKey(HKEY root, const char *key);
void DeleteNamed(HKEY root, const char *key, const char *name);
BOOL SameValue(const RegValue *a, const RegValue *b);
BOOL IsStoredText(const RegValue *value, DWORD type, const char *text, DWORD cbField);
/* The label as morvane.exe stores it, read through the wide interface: the text (UTF-8 here),
 * then zeros to the end of the 49 bytes it writes in its code page, UTF-8; a reader in another
 * code page sees the same text with fewer fill bytes. */
BOOL IsStoredLabel(const char *text);
BOOL SetKeyReadOnly(HKEY root, const char *key, BOOL readOnly);
/* The DACL Windows gives the class keys it guards: TrustedInstaller writes; SYSTEM,
 * Administrators and Users read. An administrator's token, full or filtered, may not write. */
#define TRUSTED_INSTALLER "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
#define GUARDED_DACL      "D:P(A;;KA;;;" TRUSTED_INSTALLER ")(A;;KR;;;SY)(A;;KR;;;BA)(A;;KR;;;BU)"
BOOL SetKeyDacl(HKEY root, const char *key, const char *sddl); /* NULL: anyone may write again */
/* The prefix's own class key with this label (NULL: no key at all) and the test icon
 * location; with LocalizedString as Windows has it, or none as before XP; no sound and
 * no name of the user's own. */
void SeedBin(const char *label, BOOL localized);
void SeedPristineBin(void);          /* the class key exactly as the fresh prefix had it */
void SeedUserName(const char *name); /* the user's key, with icons; name NULL: none in it */

/* The name the shell itself gives the Recycle Bin, in UTF-8, asked by a process started now
 * (so no cache of this one answers): IShellFolder::GetDisplayNameOf on the desktop
 * (SHGDN_NORMAL) and SHGetFileInfoW (SHGFI_DISPLAYNAME). A failed query reads "(...failed...)". */
typedef struct {
    char normal[MAX_PATH];
    char fileInfo[MAX_PATH];
} ShellNames;
BOOL ShellBinNames(ShellNames *names);
void CheckShownName(const char *text); /* both names are the text */

/* Windows of the process under test; pid 0: of any process. */
HWND WaitForWindow(DWORD pid, const char *caption, HWND owner, DWORD msTimeout);
/* A process's token (pid 0: this one's): its elevation type, 0 when it cannot be asked, and
 * whether it is elevated. */
int ProcessElevation(DWORD pid, BOOL *elevated);
int CountProcesses(const char *image); /* running processes of that image name */
/* Linux tools through Wine: a shell command, waited for, gives its exit status, or
 * SHELL_FAILED when it could not start or did not end in time; whether a tool is set.
 * StartShell and WaitShell do the same in two steps, one command at a time. */
#define SHELL_FAILED (-1)
int RunShell(const char *command, DWORD msTimeout);
BOOL StartShell(const char *command);
int WaitShell(DWORD msTimeout);
BOOL HasTool(const char *toolVariable);

#endif
