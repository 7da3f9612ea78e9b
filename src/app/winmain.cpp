// Morvane - WinMain: renames silently from a command tail, or runs the label editor.
// The exit code reports a command-line failure; the interactive mode always ends with 0.

#include "app/app.h"
#include "app/cmdtail.h"
#include "app/state.h"
#include "shellstore/binreg.h"
#include "shellstore/changelabel.h"

#include <string.h>

// Whether the ANSI tail is the text the user gave. Windows hands the program its command
// line converted to the ANSI code page, with ? or a look-alike for what the code page cannot
// spell; the wide line holds the original. With a UTF-8 code page every text is exact.
static BOOL IsTailSpeltExactly(LPCSTR pszTail)
{
    LabelText szExact;
    return CopyWideText(szExact, sizeof szExact, FindCommandTailW(GetCommandLineW())) &&
           IsSameText(szExact, pszTail);
}

// Renames the Recycle Bin to the tail unless nothing on the desktop would change: the tail is
// the stored label and also the name the shell shows. So exit code 0 means the desktop shows
// the tail. A tail that reads like the marker while the label is unreadable writes nothing.
// A tail too long for a label, or one the code page cannot spell, is refused rather than
// cut or changed, so a script never stores a surprise. The command line never asks for
// elevation: where the machine's key refuses the name, it becomes this account's own name
// (exit code 4), except for a service account, whose own name no desktop shows.
static int RenameFromCommandTail(LPCSTR pszTail)
{
    if (strlen(pszTail) >= sizeof CurrentLabel)
        return EXIT_TAIL_TOO_LONG;
    if (!IsTailSpeltExactly(pszTail))
        return EXIT_TAIL_NOT_SPELT;

    CopyText(CurrentLabel, sizeof CurrentLabel, ReadBinLabel());
    if (IsSameText(pszTail, CurrentLabel) &&
        (IsNotFound(CurrentLabel) || IsSameText(pszTail, ReadShownBinName(CurrentLabel))))
        return EXIT_DONE;
    switch (RenameBin(pszTail, RENAME_ALL_USERS | (IsServiceAccount() ? 0 : RENAME_THIS_ACCOUNT))) {
    case BIN_RENAMED:
        return EXIT_DONE;
    case BIN_RENAMED_FOR_ACCOUNT:
        return EXIT_THIS_ACCOUNT;
    default:
        return EXIT_NOT_STORED;
    }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdTail, int nShowCmd)
{
    (void)hPrevInstance;
    (void)nShowCmd;

    if (pszCmdTail[0] != '\0')
        return RenameFromCommandTail(pszCmdTail);

    // The label is read once: the text checked here is the one the editor falls back on.
    CopyText(CurrentLabel, sizeof CurrentLabel, ReadBinLabel());
    if (IsNotFound(CurrentLabel)) {
        ShowRegistryError(NULL, FALSE);
        return EXIT_DONE;
    }
    // Under User Account Control an administrator's editor runs elevated, in a copy.
    if (RunElevatedEditor())
        return EXIT_DONE;
    // The editor starts from the name the desktop shows, where it can be told; else from the
    // stored label, which is then worth storing again too (its parameter says so).
    LPCSTR pszShown = ReadShownBinName(CurrentLabel);
    BOOL fShownUnknown = IsNotFound(pszShown);
    if (!fShownUnknown)
        CopyText(CurrentLabel, sizeof CurrentLabel, pszShown);
    DialogBoxParamA(hInstance, "MyDB", NULL, EditorDlgProc, fShownUnknown);
    FreeDarkBrushes();
    return EXIT_DONE;
}
