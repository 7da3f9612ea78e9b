/* Morvane Wine tests - command-line runs with exact command lines, read back from the
 * registry, and the start-up error box of an interactive run whose label is unreadable. */

#include "harness.h"

#include <stdio.h>
#include <string.h>

#define LABEL_48 "123456789012345678901234567890123456789012345678"
#define LABEL_49 LABEL_48 "9"

typedef struct {
    const char *name;
    const char *stored; /* label before the run; NULL: no Recycle Bin key at all */
    const char *line;   /* the exact command line */
    DWORD exitCode;
    const char *expected; /* label stored by the run; NULL: nothing written */
} TailRun;

static const TailRun TailRuns[] = {
    {"tail equal to the label writes nothing", "Trash", "morvane.exe Trash", 0, NULL},
    {"new label is stored as a whole field", "Trash", "morvane.exe Bin", 0, "Bin"},
    {"quoted program name", "Trash", "\"C:\\Program Files\\Morvane\\morvane.exe\" Bin", 0, "Bin"},
    {"quotes of the tail are kept", "Trash", "morvane.exe \"Trash\"", 0, "\"Trash\""},
    {"trailing blanks are kept", "Trash", "morvane.exe Bin  ", 0, "Bin  "},
    {"blanks after the name are skipped, inner ones kept", "Trash", "morvane.exe \t  Old  Bin", 0,
     "Old  Bin"},
    {"change of case only", "Trash", "morvane.exe TRASH", 0, "TRASH"},
    {"8-bit text", "Trash", "morvane.exe Corbeille \xe0 papier", 0, "Corbeille \xe0 papier"},
    {"tail of 48 bytes", "Trash", "morvane.exe " LABEL_48, 0, LABEL_48},
    {"tail of 49 bytes is refused", "Trash", "morvane.exe " LABEL_49, 2, NULL},
    {"missing label key is created", NULL, "morvane.exe Bin", 0, "Bin"},
    {"unreadable 49-byte label is replaced", LABEL_49, "morvane.exe Bin", 0, "Bin"},
    {"marker as tail while the label is unreadable", NULL, "morvane.exe NOT_FOUND", 0, NULL},
    {"marker text as tail over a readable label is stored", "Trash", "morvane.exe NOT_FOUND", 0, "NOT_FOUND"},
};

static void TestTailRun(const TailRun *r)
{
    RegValue labelBefore, iconBefore, label, icon;
    DWORD exitCode;

    BeginCase(r->name);
    SeedBin(r->stored);
    ReadDefault(HKEY_CLASSES_ROOT, BIN_KEY, &labelBefore);
    ReadDefault(HKEY_CLASSES_ROOT, ICON_KEY, &iconBefore);

    exitCode = RunMorvane(r->line);

    CHECK(exitCode == r->exitCode, "exit code %lu, expected %lu", exitCode, r->exitCode);
    ReadDefault(HKEY_CLASSES_ROOT, BIN_KEY, &label);
    ReadDefault(HKEY_CLASSES_ROOT, ICON_KEY, &icon);
    if (r->expected == NULL) {
        CHECK(SameValue(&label, &labelBefore), "label changed");
        CHECK(SameValue(&icon, &iconBefore), "icon location changed");
    } else {
        CHECK(IsStoredText(&label, REG_SZ, r->expected, 49), "label not stored as [%s] in 49 bytes (cb %lu)",
              r->expected, label.cb);
        if (iconBefore.exists)
            CHECK(IsStoredText(&icon, REG_EXPAND_SZ, ICON_TEXT, 256),
                  "icon not written back as the same expandable text in 256 bytes (type %lu, cb %lu)",
                  icon.type, icon.cb);
        else
            CHECK(!icon.exists, "an icon location was stored although none could be read");
    }
}

static void TestLabelNotStored(void)
{
    RegValue label, icon;

    BeginCase("label that cannot be stored exits with 1");
    SeedBin("Trash");
    CHECK(SetKeyReadOnly(HKEY_CLASSES_ROOT, BIN_KEY, TRUE), "cannot make the label key read-only");

    CHECK(RunMorvane("morvane.exe Bin") == 1, "exit code is not 1");

    SetKeyReadOnly(HKEY_CLASSES_ROOT, BIN_KEY, FALSE);
    ReadDefault(HKEY_CLASSES_ROOT, BIN_KEY, &label);
    ReadDefault(HKEY_CLASSES_ROOT, ICON_KEY, &icon);
    CHECK(label.exists && strcmp((char *)label.data, "Trash") == 0, "label changed");
    CHECK(IsStoredText(&icon, REG_EXPAND_SZ, ICON_TEXT, 256),
          "icon not written back after the failed label write");
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
    SeedBin(s->stored);
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
    SeedBin("Trash");
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

int main(int argc, char **argv)
{
    size_t i;
    InitHarness(argc, argv, 0);
    for (i = 0; i < sizeof TailRuns / sizeof TailRuns[0]; ++i)
        TestTailRun(&TailRuns[i]);
    TestLabelNotStored();
    for (i = 0; i < sizeof ErrorStartUps / sizeof ErrorStartUps[0]; ++i)
        TestStartUpError(&ErrorStartUps[i]);
    TestBlankTailOpensEditor();
    return EndTests();
}
