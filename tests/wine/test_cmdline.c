/* Morvane Wine tests - command-line runs with exact command lines, read back from the
 * registry and asked of the shell itself, and the start-up error box of an interactive
 * run whose label is unreadable.
 *   test_cmdline.exe MORVANE_EXE RESTORE_REG_FILE RESTORE_MY_REG_FILE */

#include "harness.h"

#include <stdio.h>
#include <string.h>

#define LABEL_48 "123456789012345678901234567890123456789012345678"
#define LABEL_49 LABEL_48 "9"
/* Texts are UTF-8 here, as morvane.exe stores them: 24 Cyrillic letters fill 48 bytes. */
#define ZH6      "жжжжжж"
#define BIN_ICON "\xf0\x9f\x97\x91" /* U+1F5D1, a wastebasket: 4 bytes */
#define CYRIL_48 ZH6 ZH6 ZH6 ZH6

typedef struct {
    const char *name;
    const char *stored;   /* label before the run; NULL: no Recycle Bin key at all */
    BOOL localized;       /* the key holds LocalizedString, as on every Windows since XP */
    const char *userName; /* the current user's own name; NULL: none */
    const char *line;     /* the exact command line */
    DWORD exitCode;
    const char *expected; /* label stored by the run; NULL: nothing written */
} TailRun;

/* Wine shows LocalizedString as "Trash": a tail that is the stored label is written only
 * when another name shows in its place. (Wine's shell does not read the user's own name.) */
static const TailRun TailRuns[] = {
    {"tail stored and shown writes nothing, LocalizedString kept", "Trash", TRUE, NULL, "morvane.exe Trash",
     0, NULL},
    {"new label is stored and shown", "Trash", TRUE, NULL, "morvane.exe Old Papers", 0, "Old Papers"},
    {"stored label hidden by LocalizedString is stored and shown", "Recycle Bin", TRUE, NULL,
     "morvane.exe Recycle Bin", 0, "Recycle Bin"},
    {"stored label hidden by the user's own name is stored again", "Plain", TRUE, "Mine", "morvane.exe Plain",
     0, "Plain"},
    {"tail stored and shown as the user's own name writes nothing", "Plain", FALSE, "Plain",
     "morvane.exe Plain", 0, NULL},
    {"key without LocalizedString gets none", "Trash", FALSE, NULL, "morvane.exe Bin", 0, "Bin"},
    {"quoted program name", "Trash", TRUE, NULL, "\"C:\\Program Files\\Morvane\\morvane.exe\" Bin", 0, "Bin"},
    {"quotes of the tail are kept", "Trash", FALSE, NULL, "morvane.exe \"Trash\"", 0, "\"Trash\""},
    {"trailing blanks are kept", "Trash", TRUE, NULL, "morvane.exe Bin  ", 0, "Bin  "},
    {"blanks after the name are skipped, inner ones kept", "Trash", FALSE, NULL, "morvane.exe \t  Old  Bin",
     0, "Old  Bin"},
    {"change of case only", "Trash", TRUE, NULL, "morvane.exe TRASH", 0, "TRASH"},
    {"accents", "Trash", TRUE, NULL, "morvane.exe Corbeille à papier", 0, "Corbeille à papier"},
    {"Cyrillic, emoji and accents", "Trash", TRUE, NULL, "morvane.exe Корзина " BIN_ICON " Ünïcødé", 0,
     "Корзина " BIN_ICON " Ünïcødé"},
    {"Japanese", "Trash", FALSE, NULL, "\"C:\\ごみ\\morvane.exe\" ごみ箱", 0, "ごみ箱"},
    {"tail of 48 bytes", "Trash", TRUE, NULL, "morvane.exe " LABEL_48, 0, LABEL_48},
    {"tail of 49 bytes is refused", "Trash", TRUE, NULL, "morvane.exe " LABEL_49, 2, NULL},
    {"tail of 48 bytes of UTF-8", "Trash", TRUE, NULL, "morvane.exe " CYRIL_48, 0, CYRIL_48},
    {"tail of 49 bytes of UTF-8 is refused", "Trash", TRUE, NULL, "morvane.exe " CYRIL_48 "x", 2, NULL},
    {"emoji across byte 48 is refused", "Trash", TRUE, NULL, "morvane.exe " ZH6 ZH6 ZH6 "жжжжж" BIN_ICON, 2,
     NULL},
    {"missing label key is created", NULL, FALSE, NULL, "morvane.exe Bin", 0, "Bin"},
    {"unreadable 49-byte label is replaced", LABEL_49, TRUE, NULL, "morvane.exe Bin", 0, "Bin"},
    {"marker as tail while the label is unreadable", NULL, FALSE, NULL, "morvane.exe NOT_FOUND", 0, NULL},
    {"marker text as tail over a readable label is stored", "Trash", FALSE, NULL, "morvane.exe NOT_FOUND", 0,
     "NOT_FOUND"},
};

static void TestTailRun(const TailRun *r)
{
    RegValue labelBefore, iconBefore, localizedBefore, label, icon, localized, user;
    ShellNames shownBefore;
    DWORD exitCode;

    BeginCase(r->name);
    SeedBin(r->stored, r->localized);
    if (r->userName != NULL)
        SeedUserName(r->userName);
    ReadDefault(HKEY_CLASSES_ROOT, BIN_KEY, &labelBefore);
    ReadDefault(HKEY_CLASSES_ROOT, ICON_KEY, &iconBefore);
    ReadNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, &localizedBefore);
    if (r->expected == NULL)
        ShellBinNames(&shownBefore);

    exitCode = RunMorvane(r->line);

    CHECK(exitCode == r->exitCode, "exit code %lu, expected %lu", exitCode, r->exitCode);
    ReadDefault(HKEY_CLASSES_ROOT, BIN_KEY, &label);
    ReadDefault(HKEY_CLASSES_ROOT, ICON_KEY, &icon);
    ReadNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, &localized);
    if (r->userName != NULL) {
        ReadDefault(HKEY_CURRENT_USER, USER_KEY, &user);
        CHECK(user.exists == (r->expected == NULL), "the user's own name is %s",
              user.exists ? "still there" : "gone");
    }
    if (r->expected == NULL) {
        /* Every change writes the icon location back, so an unchanged one shows no change ran. */
        CHECK(SameValue(&label, &labelBefore), "label changed");
        CHECK(SameValue(&icon, &iconBefore), "icon location changed");
        CHECK(SameValue(&localized, &localizedBefore), "LocalizedString changed");
        CheckShownName(shownBefore.normal);
        if (r->exitCode == 0 && r->localized)
            Skip("no notification: not observable here (Wine delivers shell notifications only "
                 "within the sending process); the host tests check that none is sent");
    } else {
        CHECK(IsStoredLabel(r->expected), "label not stored as [%s] with its zero fill", r->expected);
        if (iconBefore.exists)
            CHECK(IsStoredText(&icon, REG_EXPAND_SZ, ICON_TEXT, 256),
                  "icon not written back as the same expandable text in 256 bytes (type %lu, cb %lu)",
                  icon.type, icon.cb);
        else
            CHECK(!icon.exists, "an icon location was stored although none could be read");
        CHECK(!localized.exists, "LocalizedString %s",
              localizedBefore.exists ? "still hides the label" : "added");
        CheckShownName(r->expected);
    }
}

/* Imports a .reg file as a double-click does, silently. */
static BOOL ImportRegFile(const char *path)
{
    char windir[MAX_PATH], regedit[MAX_PATH], file[MAX_PATH], line[3 * MAX_PATH];
    PROCESS_INFORMATION pi;

    GetWindowsDirectoryA(windir, sizeof windir);
    snprintf(regedit, sizeof regedit, "%s\\regedit.exe", windir);
    ToDosPath(path, file, sizeof file);
    snprintf(line, sizeof line, "regedit.exe /s \"%s\"", file);
    return StartProcess(regedit, line, &pi) && WaitMorvane(&pi, 30000) == 0;
}

/* Where Windows guards the class key, an administrator is refused too: the tail becomes this
 * account's own name (exit 4), and an older name never shows instead; a run whose tail is that
 * name already writes nothing, so not even a read-only user key fails it. The command line
 * never asks for elevation. This account's restore file removes the name, needing no rights. */
static void TestGuardedKey(void)
{
    RegValue label, icon;
    HKEY hKey;

    BeginCase("class key guarded from administrators: the tail is this account's own name, exit 4");
    SeedBin("Trash", TRUE);
    SeedUserName("Mine");
    CHECK(SetKeyDacl(HKEY_CLASSES_ROOT, BIN_KEY, GUARDED_DACL), "cannot guard the class key");

    CHECK(RunMorvane("morvane.exe Bin") == 4, "exit code is not 4");
    CHECK(WaitForWindow(0, "Morvane", NULL, 500) == NULL, "an editor opened");
    ReadDefault(HKEY_CURRENT_USER, USER_KEY, &label);
    CHECK(IsStoredText(&label, REG_SZ, "Bin", 49), "this account's own name is not the tail");
    CHECK(SetKeyReadOnly(HKEY_CURRENT_USER, USER_KEY, TRUE), "cannot make the user key read-only");
    CHECK(RunMorvane("morvane.exe Bin") == 4, "the same tail again is not exit 4 with nothing written");
    SetKeyReadOnly(HKEY_CURRENT_USER, USER_KEY, FALSE);
    CHECK(ImportRegFile(Arg(1)), "regedit /s %s failed", Arg(1));
    ReadDefault(HKEY_CURRENT_USER, USER_KEY, &label);
    CHECK(!label.exists, "the restore file left this account's own name");
    /* With no name of this account's, the marker's text is a name like any other. */
    CHECK(RunMorvane("morvane.exe NOT_FOUND") == 4, "NOT_FOUND as tail did not exit with 4");
    ReadDefault(HKEY_CURRENT_USER, USER_KEY, &label);
    CHECK(IsStoredText(&label, REG_SZ, "NOT_FOUND", 49),
          "NOT_FOUND was not stored as this account's own name");

    /* The name the machine gives needs no rights: this account's own name goes instead. */
    CHECK(RunMorvane("morvane.exe Trash") == 0, "the machine's own name did not exit with 0");
    ReadDefault(HKEY_CURRENT_USER, USER_KEY, &label);
    CHECK(!label.exists, "this account's own name still hides the machine's");
    /* Wine grants a backup-restore open no write: the restore privilege's attempt was refused. */
    CHECK(RegOpenKeyExA(HKEY_CLASSES_ROOT, BIN_KEY, 0, KEY_SET_VALUE, &hKey) == ERROR_ACCESS_DENIED,
          "the class key's DACL was changed");
    SetKeyDacl(HKEY_CLASSES_ROOT, BIN_KEY, NULL);
    ReadDefault(HKEY_CLASSES_ROOT, BIN_KEY, &label);
    ReadDefault(HKEY_CLASSES_ROOT, ICON_KEY, &icon);
    CHECK(label.exists && strcmp((char *)label.data, "Trash") == 0, "label changed");
    CHECK(icon.exists && icon.cb == sizeof ICON_TEXT, "the icon location was written");
    ReadNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, &label);
    CHECK(label.exists, "LocalizedString removed although the label was not stored");
}

/* The current user's own name outranks the machine-wide label on Windows 7 and later (Wine's
 * shell does not read it, so it is checked by reading it back): once the label is stored it
 * is gone, while the rest of the user's key stays; no key is made where there was none. So are
 * the names in this account's copy of the class key, as the navigation-pane tweak makes it. */
typedef struct {
    const char *name;
    BOOL userKey; /* the user has a key of their own, with icons in it */
    const char *userName;
    BOOL readOnly; /* and may not write it */
    DWORD exitCode;
} UserNameCase;

static const UserNameCase UserNameCases[] = {
    {"the user's own name is removed, the rest of the key kept", TRUE, "Mine", FALSE, 0},
    {"a user key without a name is left as it is", TRUE, NULL, FALSE, 0},
    {"no user key: none is created", FALSE, NULL, FALSE, 0},
    {"a read-only user key without a name hides nothing", TRUE, NULL, TRUE, 0},
    {"a user's name that cannot be removed exits with 1", TRUE, "Mine", TRUE, 1},
};

static void TestUserName(const UserNameCase *c)
{
    RegValue name, icons;
    HKEY hKey;
    DWORD exitCode;

    BeginCase(c->name);
    SeedBin("Trash", TRUE);
    if (c->userKey) {
        SeedUserName(c->userName);
        WriteDefaultText(HKEY_CURRENT_USER, COPY_KEY, "Copy");
        WriteNamed(HKEY_CURRENT_USER, COPY_KEY, LOCALIZED, REG_SZ, "Copied", 7);
        WriteNamed(HKEY_CURRENT_USER, COPY_KEY, "System.IsPinnedToNameSpaceTree", REG_DWORD, "\1\0\0", 4);
    }
    if (c->readOnly)
        CHECK(SetKeyReadOnly(HKEY_CURRENT_USER, USER_KEY, TRUE), "cannot make the user key read-only");

    exitCode = RunMorvane("morvane.exe Old Papers");

    if (c->readOnly)
        SetKeyReadOnly(HKEY_CURRENT_USER, USER_KEY, FALSE);
    CHECK(exitCode == c->exitCode, "exit code %lu, expected %lu", exitCode, c->exitCode);
    ReadDefault(HKEY_CLASSES_ROOT, BIN_KEY, &name);
    CHECK(IsStoredLabel("Old Papers"), "label not stored");
    ReadDefault(HKEY_CURRENT_USER, USER_KEY, &name);
    CHECK(name.exists == (c->readOnly && c->userName != NULL), "the user's own name is %s",
          name.exists ? "still there" : "gone");
    ReadNamed(HKEY_CURRENT_USER, USER_KEY "\\DefaultIcon", "full", &icons);
    CHECK(icons.exists == c->userKey, "the user's icons %s", icons.exists ? "appeared" : "are gone");
    if (!c->userKey &&
        RegOpenKeyExA(HKEY_CURRENT_USER, USER_KEY, 0, KEY_QUERY_VALUE, &hKey) == ERROR_SUCCESS) {
        CHECK(FALSE, "a user key was created");
        RegCloseKey(hKey);
    }
    ReadDefault(HKEY_CURRENT_USER, COPY_KEY, &name);
    ReadNamed(HKEY_CURRENT_USER, COPY_KEY, LOCALIZED, &icons);
    CHECK(!name.exists && !icons.exists, "this account's copy of the class key keeps a name");
    ReadNamed(HKEY_CURRENT_USER, COPY_KEY, "System.IsPinnedToNameSpaceTree", &icons);
    CHECK(icons.exists == c->userKey, "this account's copy %s", icons.exists ? "appeared" : "lost its pin");
    CheckShownName("Old Papers");
}

/* A fresh prefix's key, renamed, then put back with the restore file from the release. */
static void TestRenameAndRestore(void)
{
    ShellNames original;
    RegValue value;

    BeginCase("fresh prefix: the new label is the shown name, and the restore file brings the old one back");
    SeedPristineBin();
    CHECK(ShellBinNames(&original), "the shell's name could not be asked");
    CHECK(RunMorvane("morvane.exe Old Papers") == 0, "exit code is not 0");
    CheckShownName("Old Papers");
    ReadNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, &value);
    CHECK(!value.exists, "LocalizedString still hides the label");

    SeedUserName("Mine");
    CHECK(ImportRegFile(Arg(0)), "regedit /s %s failed", Arg(0));
    ReadDefault(HKEY_CURRENT_USER, USER_KEY, &value);
    CHECK(!value.exists, "this account's own name still hides the original name");
    ReadDefault(HKEY_CLASSES_ROOT, BIN_KEY, &value);
    CHECK(value.exists && value.type == REG_SZ && strcmp((char *)value.data, "Recycle Bin") == 0,
          "the default value is not Recycle Bin");
    ReadNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, &value);
    CHECK(value.exists && value.type == REG_EXPAND_SZ && strcmp((char *)value.data, SYSTEM_NAME) == 0,
          "LocalizedString is not the expandable " SYSTEM_NAME);
    CheckShownName(original.normal);
}

/* An empty tail (or blanks only) runs the interactive mode: with an unreadable label that is
 * one error box, with no owner, and exit code 0 once it is closed. */
typedef struct {
    const char *name;
    const char *stored;
    const char *line;
} StartUp;

static const StartUp ErrorStartUps[] = {
    {"no label key", NULL, "morvane.exe"},
    {"blanks-only tail is an empty one", NULL, "morvane.exe  \t "},
    {"label stored as the marker text", "NOT_FOUND", "\"C:\\morvane.exe\""},
    {"label of 49 bytes", LABEL_49, "morvane.exe"},
};

static void TestStartUpError(const StartUp *s)
{
    PROCESS_INFORMATION pi;
    HWND hBox, hIcon;
    char text[128] = "";

    BeginCase(s->name);
    SeedBin(s->stored, TRUE);
    if (!StartMorvane(s->line, &pi)) {
        CHECK(FALSE, "cannot start morvane.exe (%lu)", GetLastError());
        return;
    }
    hBox = WaitForWindow(pi.dwProcessId, "Application Error", NULL, 10000);
    CHECK(hBox != NULL, "no error box");
    if (hBox != NULL) {
        GetDlgItemTextA(hBox, 0xFFFF, text, sizeof text);
        CHECK(strcmp(text, "Error reading system registry entry.") == 0, "text [%s]", text);
        CHECK(GetWindow(hBox, GW_OWNER) == NULL, "the box has an owner");
        CHECK(GetDlgItem(hBox, IDOK) != NULL && GetDlgItem(hBox, IDCANCEL) == NULL, "not a single OK button");
        hIcon = GetDlgItem(hBox, 0x0440);
        CHECK(hIcon != NULL && (GetWindowLongA(hIcon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON,
              "no icon in the box");
        CHECK(WaitForWindow(pi.dwProcessId, "Morvane", NULL, 0) == NULL, "the editor opened as well");
        PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    }
    CHECK(WaitMorvane(&pi, 10000) == 0, "exit code is not 0");
}

static void TestBlankTailOpensEditor(void)
{
    PROCESS_INFORMATION pi;
    HWND hEditor;
    RegValue before, after;

    BeginCase("blanks-only tail with a readable label opens the editor");
    SeedBin("Trash", TRUE);
    ReadDefault(HKEY_CLASSES_ROOT, BIN_KEY, &before);
    if (!StartMorvane("morvane.exe   ", &pi)) {
        CHECK(FALSE, "cannot start morvane.exe (%lu)", GetLastError());
        return;
    }
    hEditor = WaitForWindow(pi.dwProcessId, "Morvane", NULL, 10000);
    CHECK(hEditor != NULL, "no editor");
    if (hEditor != NULL)
        PostMessageA(hEditor, WM_COMMAND, IDCANCEL, 0);
    CHECK(WaitMorvane(&pi, 10000) == 0, "exit code is not 0");
    ReadDefault(HKEY_CLASSES_ROOT, BIN_KEY, &after);
    CHECK(SameValue(&before, &after), "label changed");
}

/* The program's first call in a relay trace, into first ("(none)" if it made none). Its own
 * calls are those of the thread that loaded morvane.exe (the prefix of its +loaddll line, such
 * as "0518:"), returning into its image: less than 64 KiB, the allocation granularity, past
 * where it was loaded. Another process, such as the launcher, may load its image at the same
 * base, but its calls come from another thread. GetModuleHandle and GetProcAddress are passed
 * over: the first call after them, before anything that may load a DLL or show a window,
 * must restrict the DLL search. */
static void ReadFirstCall(const char *logPath, char *first, size_t cbFirst)
{
    char dosPath[MAX_PATH], line[1024], thread[32] = "";
    unsigned long long base = 0, ret;
    const char *p;
    FILE *f;

    snprintf(first, cbFirst, "(none)");
    ToDosPath(logPath, dosPath, sizeof dosPath);
    CHECK((f = fopen(dosPath, "rb")) != NULL, "no relay trace at %s", logPath);
    while (f != NULL && fgets(line, sizeof line, f) != NULL && strcmp(first, "(none)") == 0) {
        if (base == 0 && (p = strstr(line, "trace:loaddll:")) != NULL &&
            strstr(line, "morvane.exe\" at ") != NULL &&
            sscanf(strstr(line, "\" at ") + 5, "%llx", &base) == 1)
            snprintf(thread, sizeof thread, "%.*s", (int)(p - line), line);
        if (base == 0 || strncmp(line, thread, strlen(thread)) != 0 ||
            strncmp(line + strlen(thread), "Call ", 5) != 0 || strstr(line, " ret=") == NULL ||
            sscanf(strstr(line, " ret=") + 5, "%llx", &ret) != 1 || ret < base || ret - base >= 0x10000)
            continue;
        p = strchr(line, '.') + 1;
        if (strncmp(p, "GetModuleHandle", 15) != 0 && strncmp(p, "GetProcAddress(", 15) != 0)
            snprintf(first, cbFirst, "%.*s", (int)strcspn(p, ")") + 1, p);
    }
    if (f != NULL)
        fclose(f);
}

static void CheckFirstCalls(const char *logPath)
{
    char first[128];
    ReadFirstCall(logPath, first, sizeof first);
    CHECK(strcmp(first, "SetDefaultDllDirectories(00000800)") == 0,
          "the program's first call is %s, not SetDefaultDllDirectories(00000800)", first);
}

/* A recorded trace in which the launcher, loaded at the same base, writes after the program's
 * load line: the check reads the program's own first call, whatever it is. */
static void TestFirstCallReader(void)
{
    static const char *const Calls[] = {"SetDefaultDllDirectories(00000800)", "GetCommandLineW()"};
    char path[MAX_PATH], dosPath[MAX_PATH], first[128];
    size_t i;
    FILE *f;

    BeginCase("the trace reader takes the program's calls only, not the launcher's");
    snprintf(path, sizeof path, "%s/recorded-relay.log", getenv("MORVANE_WORK"));
    ToDosPath(path, dosPath, sizeof dosPath);
    for (i = 0; i < sizeof Calls / sizeof Calls[0]; ++i) {
        CHECK((f = fopen(dosPath, "wb")) != NULL, "cannot write %s", path);
        if (f == NULL)
            return;
        fprintf(
            f,
            "0510:Call KERNEL32.CreateProcessW(0011e3a0,0011e5c0) ret=140001e10\n"
            "0518:trace:loaddll:build_module Loaded L\"Z:\\\\b\\\\morvane.exe\" at 0000000140000000: native\n"
            "0510:Call KERNEL32.WaitForSingleObject(00000060,ffffffff) ret=140001f72\n"
            "0518:Call KERNEL32.GetModuleHandleA(140005000 \"kernel32.dll\") ret=140001010\n"
            "0518:Call KERNEL32.%s ret=140001020\n",
            Calls[i]);
        fclose(f);
        ReadFirstCall(path, first, sizeof first);
        CHECK(strcmp(first, Calls[i]) == 0, "read %s as the program's first call, not %s", first, Calls[i]);
    }
}

static void TestDllSearchFirst(void)
{
    static const char *const Lines[] = {"morvane.exe Relay Bin", "morvane.exe"};
    char log[MAX_PATH];
    size_t i;
    HWND hEditor;

    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Debug", "RelayFromInclude", REG_SZ, "morvane.exe",
                    12);
    for (i = 0; i < sizeof Lines / sizeof Lines[0]; ++i) {
        BeginCase(i == 0 ? "a rename restricts the DLL search first"
                         : "the editor restricts the DLL search first");
        SeedBin("Trash", TRUE);
        CHECK(StartMorvaneTraced("+relay,+loaddll", Lines[i], "relay.log", log, sizeof log),
              "cannot start [%s] traced", Lines[i]);
        if (i == 1 && (hEditor = WaitForWindow(0, "Morvane", NULL, 30000)) != NULL)
            PostMessageA(hEditor, WM_COMMAND, IDCANCEL, 0);
        CHECK(WaitShell(60000) == 0, "the traced run did not end with 0");
        CheckFirstCalls(log);
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Debug", "RelayFromInclude");
}

int main(int argc, char **argv)
{
    size_t i;
    InitHarness(argc, argv, "RESTORE_REG_FILE RESTORE_MY_REG_FILE");
    TestFirstCallReader();
    for (i = 0; i < sizeof TailRuns / sizeof TailRuns[0]; ++i)
        TestTailRun(&TailRuns[i]);
    TestGuardedKey();
    for (i = 0; i < sizeof UserNameCases / sizeof UserNameCases[0]; ++i)
        TestUserName(&UserNameCases[i]);
    TestRenameAndRestore();
    for (i = 0; i < sizeof ErrorStartUps / sizeof ErrorStartUps[0]; ++i)
        TestStartUpError(&ErrorStartUps[i]);
    TestBlankTailOpensEditor();
    TestDllSearchFirst();
    return EndTests();
}
