/* Morvane Wine tests - the check program ended once its first run is done; --restore on its
 * snapshot puts back every seeded value, byte for byte, types included. Args: MORVANE_EXE CHECK_EXE */

#include "../wine/harness.h"

#include <stdio.h>
#include <string.h>

static const struct {
    HKEY root;
    const char *key, *name;
} Seeded[] = {{HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\" BIN_KEY, ""},
              {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\" BIN_KEY, LOCALIZED},
              {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\" ICON_KEY, ""},
              {HKEY_CURRENT_USER, USER_KEY, ""},
              {HKEY_CURRENT_USER, COPY_KEY, "System.IsPinnedToNameSpaceTree"}};
#define SEEDED (sizeof Seeded / sizeof Seeded[0])

int main(int argc, char **argv)
{
    RegValue seeded[SEEDED], now;
    PROCESS_INFORMATION pi;
    char work[MAX_PATH], check[MAX_PATH], snapshot[MAX_PATH], line[4 * MAX_PATH];
    DWORD start, code = (DWORD)-1;
    size_t i;

    InitHarness(argc, argv, "CHECK_EXE");
    BeginCase("the check program ended after its first run, then --restore");
    SeedBin("Morvane seed", TRUE);
    SeedUserName("Morvane own");
    for (i = 0; i < SEEDED; ++i)
        ReadNamed(Seeded[i].root, Seeded[i].key, Seeded[i].name, &seeded[i]);
    ToDosPath(getenv("MORVANE_WORK"), work, sizeof work);
    ToDosPath(Arg(0), check, sizeof check);
    snprintf(snapshot, sizeof snapshot, "%s\\killed.snapshot", work);
    DeleteFileA(snapshot);
    snprintf(line, sizeof line, "\"%s\" \"%s\" --snapshot \"%s\"", check, MorvaneExe(), snapshot);
    SkipIfWin32Refused();
    CHECK(StartProcess(check, line, &pi), "the check program did not start (%lu)", GetLastError());
    /* The first run is done once the label has changed and its morvane.exe has ended; the kill
     * waits for the shell's name to be asked, by a process already running: under Wine a process
     * that its parent's death catches starting never runs, and holds this test's output open. */
    for (start = GetTickCount(); GetTickCount() - start < 60000; Sleep(20)) {
        ReadNamed(Seeded[0].root, Seeded[0].key, Seeded[0].name, &now);
        if (!SameValue(&now, &seeded[0]) && CountProcesses("morvane.exe") == 0 &&
            CountProcesses("check_windows.exe") == 2)
            break;
    }
    WaitMorvane(&pi, 0); /* ends it, as a kill would */
    CHECK(!SameValue(&now, &seeded[0]), "the check program's first run changed no label in 60 s");

    snprintf(line, sizeof line, "\"%s\" --restore \"%s\"", check, snapshot);
    if (StartProcess(check, line, &pi))
        code = WaitMorvane(&pi, 60000);
    CHECK(code == 0, "--restore exits with %lu", code);
    for (i = 0; i < SEEDED; ++i) {
        ReadNamed(Seeded[i].root, Seeded[i].key, Seeded[i].name, &now);
        CHECK(SameValue(&now, &seeded[i]), "%s [%s] is not as seeded", Seeded[i].key, Seeded[i].name);
    }
    CHECK(GetFileAttributesA(snapshot) == INVALID_FILE_ATTRIBUTES,
          "the snapshot is left after a full restore");
    return EndTests();
}
