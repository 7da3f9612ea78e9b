/* Morvane Wine tools - the launcher: runs morvane.exe with an exact command line and
 * exits with its exit code. The line comes in hex, so nothing in between can touch its
 * quotes or blanks.   launch.exe MORVANE_EXE HEX_LINE */

#include "harness.h"

#include <stdio.h>

static BOOL FromHex(const char *hex, char *text, size_t cbText)
{
    size_t i = 0;
    unsigned int byte;
    for (; hex[0] != '\0' && hex[1] != '\0'; hex += 2) {
        if (i + 1 >= cbText || sscanf(hex, "%2x", &byte) != 1)
            return FALSE;
        text[i++] = (char)byte;
    }
    text[i] = '\0';
    return hex[0] == '\0';
}

int main(int argc, char **argv)
{
    char line[1024];
    PROCESS_INFORMATION pi;

    InitHarness(argc, argv, "HEX_LINE");
    if (!FromHex(Arg(0), line, sizeof line)) {
        fprintf(stderr, "launch: the command line must be given in hex\n");
        return 255;
    }
    if (!StartMorvane(line, &pi)) {
        fprintf(stderr, "launch: cannot start morvane.exe (error %lu)\n", GetLastError());
        return 255;
    }
    return (int)WaitMorvane(&pi, INFINITE);
}
