/* Morvane benchmark - wall time of a command-line rename against `reg add` of the same
 * value, alternating the two in one Wine prefix; each time runs from CreateProcessW to
 * the process's end. A third row, a run whose tail is already the label, gives the
 * fixed cost of starting the program, and an empty program built the same way, run just
 * before or after it in turn, the floor under that cost; a fifth, an unchanged run over a
 * key whose LocalizedString shows the label (as on a fresh Windows), adds resolving that
 * name. Given a previous build, its runs share each round too, before or after this one's
 * in turn.
 *   bench.exe MORVANE_EXE EMPTY_EXE [RUNS [PREVIOUS_EXE]] */

#include "harness.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static double Now(void)
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

static char Empty[MAX_PATH]; /* the empty program */

/* Milliseconds from start to end of one process; negative, and said, when it fails. */
static double TimeRun(const char *image, const char *line)
{
    PROCESS_INFORMATION pi;
    double start = Now();
    BOOL started = image ? StartProcess(image, line, &pi) : StartMorvane(line, &pi);
    DWORD code = started ? WaitMorvane(&pi, 30000) : GetLastError();
    if (!started || code != 0) {
        printf("failed: [%s] %s %lu\n", line, started ? "ended with" : "did not start, error", code);
        return -1.0;
    }
    return Now() - start;
}

/* One build's rename to label, then a run with that label again, which has nothing to do,
 * and the empty program just before that run or just after it; image NULL: the build under
 * test. Nonzero when any failed. */
static int TimeBuild(const char *image, const char *label, BOOL emptyFirst, double *rename, double *unchanged,
                     double *empty)
{
    char tail[64];
    snprintf(tail, sizeof tail, "morvane.exe %s", label);
    *rename = TimeRun(image, tail);
    if (emptyFirst)
        *empty = TimeRun(Empty, "empty.exe");
    *unchanged = TimeRun(image, tail);
    if (!emptyFirst)
        *empty = TimeRun(Empty, "empty.exe");
    return *rename < 0 || *unchanged < 0 || *empty < 0;
}

static int Compare(const void *a, const void *b)
{
    double x = *(const double *)a, y = *(const double *)b;
    return x < y ? -1 : x > y;
}

static double Quantile(const double *sorted, int n, double q)
{
    double pos = q * (n - 1);
    int i = (int)pos;
    return i + 1 < n ? sorted[i] + (sorted[i + 1] - sorted[i]) * (pos - i) : sorted[i];
}

static void Report(const char *name, double *times, int n)
{
    qsort(times, n, sizeof *times, Compare);
    printf("| %-18s | %4d | %8.1f | %8.1f | %8.1f | %8.1f |\n", name, n, Quantile(times, n, 0.5), times[0],
           times[n - 1], Quantile(times, n, 0.75) - Quantile(times, n, 0.25));
}

int main(int argc, char **argv)
{
    char reg[MAX_PATH], line[256], previous[MAX_PATH] = "";
    double *morvane, *regAdd, *unchanged, *empty, *previousRename, *previousUnchanged, *previousEmpty, *shown,
        *previousShown;
    int runs, i, failed = 0;

    InitHarness(argc, argv, "EMPTY_EXE [RUNS] [PREVIOUS_EXE]");
    ToDosPath(Arg(0), Empty, sizeof Empty);
    runs = atoi(Arg(1)) > 0 ? atoi(Arg(1)) : 25;
    morvane = calloc(runs, sizeof *morvane);
    regAdd = calloc(runs, sizeof *regAdd);
    unchanged = calloc(runs, sizeof *unchanged);
    empty = calloc(runs, sizeof *empty);
    previousRename = calloc(runs, sizeof *previousRename);
    previousUnchanged = calloc(runs, sizeof *previousUnchanged);
    previousEmpty = calloc(runs, sizeof *previousEmpty);
    shown = calloc(runs, sizeof *shown);
    previousShown = calloc(runs, sizeof *previousShown);
    if (Arg(2)[0] != '\0')
        ToDosPath(Arg(2), previous, sizeof previous);
    GetSystemDirectoryA(reg, sizeof reg);
    strncat(reg, "\\reg.exe", sizeof reg - strlen(reg) - 1);
    SeedBin("Trash", TRUE);

    /* Each rename stores a label that differs from the stored one, so both write every
     * time; right after it, a run with that label as its tail has nothing to do, which
     * gives the fixed cost of starting the program. They share each round, so the desktop's
     * redraws after a change weigh on all of them. reg add goes first every other round, and
     * the previous build every other pair of rounds, so each order comes as often in 4 rounds;
     * in each build's pair of runs, the rename comes first, and the empty program comes
     * before the unchanged run every other round, also in each order as often. */
    for (i = 0; i < runs; ++i) {
        BOOL previousFirst = previous[0] != '\0' && (i >> 1) % 2;
        int k;
        snprintf(line, sizeof line, "reg.exe add \"HKCR\\" BIN_KEY "\" /ve /d \"%s\" /f",
                 i % 2 ? "Reg Odd" : "Reg Even");
        if (i % 2)
            regAdd[i] = TimeRun(reg, line);
        for (k = 0; k < 2; ++k) {
            if ((k == 0) != previousFirst)
                failed |= TimeBuild(NULL, i % 2 ? "Bench Odd" : "Bench Even", i % 2, &morvane[i],
                                    &unchanged[i], &empty[i]);
            else if (previous[0] != '\0')
                failed |= TimeBuild(previous, i % 2 ? "Previous Odd" : "Previous Even", i % 2,
                                    &previousRename[i], &previousUnchanged[i], &previousEmpty[i]);
        }
        /* Wine shows this LocalizedString as "Trash": the stored label, so nothing to do. */
        SeedBin("Trash", TRUE);
        for (k = 0; k < 2; ++k) {
            if ((k == 0) != previousFirst)
                shown[i] = TimeRun(NULL, "morvane.exe Trash");
            else if (previous[0] != '\0')
                previousShown[i] = TimeRun(previous, "morvane.exe Trash");
        }
        if (i % 2 == 0)
            regAdd[i] = TimeRun(reg, line);
        failed |= regAdd[i] < 0 || shown[i] < 0 || previousShown[i] < 0;
    }
    if (failed) {
        printf("a run failed\n");
        return 1;
    }

    printf("| %-18s | %4s | %8s | %8s | %8s | %8s |\n", "command", "runs", "median", "min", "max", "IQR");
    printf("|--------------------|------|----------|----------|----------|----------|\n");
    Report("morvane.exe LABEL", morvane, runs);
    Report("reg add (same key)", regAdd, runs);
    Report("morvane, unchanged", unchanged, runs);
    Report("empty process", empty, runs);
    Report("unchanged, LocStr", shown, runs);
    if (previous[0] != '\0') {
        Report("previous LABEL", previousRename, runs);
        Report("previous unchanged", previousUnchanged, runs);
        Report("previous, empty", previousEmpty, runs);
        Report("previous, LocStr", previousShown, runs);
    }
    printf("\nratio of medians (morvane / reg add): %.2f   (times in ms)\n",
           Quantile(morvane, runs, 0.5) / Quantile(regAdd, runs, 0.5));
    printf("ratio of medians (unchanged / empty process): %.2f",
           Quantile(unchanged, runs, 0.5) / Quantile(empty, runs, 0.5));
    if (previous[0] != '\0')
        printf(", previous build %.2f",
               Quantile(previousUnchanged, runs, 0.5) / Quantile(previousEmpty, runs, 0.5));
    printf("\n");
    if (previous[0] != '\0')
        printf("against the previous build, medians: rename %+.1f ms, unchanged %+.1f ms, "
               "unchanged with LocalizedString %+.1f ms\n",
               Quantile(morvane, runs, 0.5) - Quantile(previousRename, runs, 0.5),
               Quantile(unchanged, runs, 0.5) - Quantile(previousUnchanged, runs, 0.5),
               Quantile(shown, runs, 0.5) - Quantile(previousShown, runs, 0.5));
    return 0;
}
