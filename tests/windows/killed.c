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
              {HKEY_CURRENT_USER, "Software\\Classes\\" BIN_KEY, "System.IsPinnedToNameSpaceTree"}};
#define SEEDED (sizeof Seeded / sizeof Seeded[0])

/* The check program with these arguments, its output into the file output. */
static BOOL StartCheck(const char *args, const char *output, PROCESS_INFORMATION *pi)
{
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    STARTUPINFOA si;
    char check[MAX_PATH], line[4 * MAX_PATH];
    BOOL started;

    memset(pi, 0, sizeof *pi);
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError =
        CreateFileA(output, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, CREATE_ALWAYS, 0, NULL);
    ToDosPath(Arg(0), check, sizeof check);
    snprintf(line, sizeof line, "\"%s\" %s", check, args);
    started = CreateProcessA(check, line, NULL, NULL, TRUE, 0, NULL, NULL, &si, pi);
    CloseHandle(si.hStdOutput);
    return started;
}

/* The file's text so far, or empty. */
static void ReadText(const char *path, char *text, size_t cbText)
{
    FILE *f = fopen(path, "rb");
    text[0] = '\0';
    if (f != NULL) {
        text[fread(text, 1, cbText - 1, f)] = '\0';
        fclose(f);
    }
}

int main(int argc, char **argv)
{
    RegValue seeded[SEEDED], now;
    PROCESS_INFORMATION pi;
    char work[MAX_PATH], snapshot[MAX_PATH], output[MAX_PATH], args[3 * MAX_PATH], text[8192] = "";
    DWORD start, code = (DWORD)-1;
    size_t i;

    InitHarness(argc, argv, "CHECK_EXE");
    BeginCase("the check program ended after its first run, then --restore");
    SeedBin("Morvane seed", TRUE);
    SeedUserName("Morvane own");
    for (i = 0; i < SEEDED; ++i)
        ReadNamed(Seeded[i].root, Seeded[i].key, Seeded[i].name, &seeded[i]);
    ToDosPath(getenv("MORVANE_WORK"), work, sizeof work);
    snprintf(snapshot, sizeof snapshot, "%s\\killed.snapshot", work);
    snprintf(output, sizeof output, "%s\\killed.txt", work);
    DeleteFileA(snapshot);
    snprintf(args, sizeof args, "\"%s\" --snapshot \"%s\"", MorvaneExe(), snapshot);
    SkipIfWin32Refused();
    CHECK(StartCheck(args, output, &pi), "the check program did not start (%lu)", GetLastError());
    for (start = GetTickCount(); strstr(text, "rename:") == NULL && GetTickCount() - start < 60000;
         Sleep(100))
        ReadText(output, text, sizeof text);
    WaitMorvane(&pi, 0); /* ends it, as a kill would */
    ReadNamed(Seeded[0].root, Seeded[0].key, Seeded[0].name, &now);
    CHECK(strstr(text, "rename:") != NULL && !SameValue(&now, &seeded[0]),
          "no first run, or the label was not changed by it:\n%s", text);

    snprintf(args, sizeof args, "--restore \"%s\"", snapshot);
    if (StartCheck(args, output, &pi))
        code = WaitMorvane(&pi, 60000);
    ReadText(output, text, sizeof text);
    CHECK(code == 0, "--restore exits with %lu:\n%s", code, text);
    for (i = 0; i < SEEDED; ++i) {
        ReadNamed(Seeded[i].root, Seeded[i].key, Seeded[i].name, &now);
        CHECK(SameValue(&now, &seeded[i]), "%s [%s] is not as seeded", Seeded[i].key, Seeded[i].name);
    }
    CHECK(GetFileAttributesA(snapshot) == INVALID_FILE_ATTRIBUTES,
          "the snapshot is left after a full restore");
    return EndTests();
}
