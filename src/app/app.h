// Morvane - procedures of the program's user interface.
#pragma once

#include <windows.h>

// Exit codes of a command-line run; an interactive run always ends with 0.
enum {
    EXIT_DONE = 0,            // stored for all users and shown here, or shown here already
    EXIT_NOT_STORED = 1,      // the name could not be stored, or another name still hides it
    EXIT_TAIL_TOO_LONG = 2,   // the tail does not fit a label; nothing was written
    EXIT_TAIL_NOT_SPELT = 3,  // the ANSI code page cannot spell the tail exactly; nothing was written
    EXIT_THIS_ACCOUNT = 4     // the machine's key refused the label: the tail is this account's own name
};

// The entry point's work once the process runs: DLLs from System32 only, then WinMain with
// the command tail. Returns the exit code.
int RunProgram(void);

// Takes DLLs that are loaded on demand from System32 only, never from the exe's folder or
// the current one, where the platform allows; changes nothing else when it cannot.
void RestrictDllSearch(void);

// Loads a DLL of the system's by its full path in System32, with its own dependencies from
// there too where the platform allows. NULL where it is missing.
HMODULE LoadSystemLibrary(LPCSTR pszName);

INT_PTR CALLBACK EditorDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// With an administrator's filtered token and a label this process may not store, but the
// administrator's full token may, starts an elevated copy of the program, which shows the
// editor, and waits for it to end. FALSE when none ran (no need, no help, the prompt declined,
// the start failed): the editor opens here.
BOOL RunElevatedEditor(void);

// Whether this process runs as the user whose shell shows the desktop, so that a name for this
// account is the one that user sees. FALSE where that cannot be told.
BOOL IsDeskUser(void);

// Whether this process runs as LocalSystem, LocalService or NetworkService, at no desk.
BOOL IsServiceAccount(void);

// Shows the registry error box, "reading" at start-up or "writing" after Apply.
void ShowRegistryError(HWND hwndOwner, BOOL fWriting);

// Asks whether to rename the Recycle Bin for this account only, a name for all users needing
// administrator rights. TRUE for Yes.
BOOL AskForUserName(HWND hwndOwner);

// Plays the user's Empty Recycle Bin sound to its end, if one is set.
void PlayEmptyBinSound(void);

// Keeps a dialog's icon control idIcon, which shows the program's icon of that id, at the
// size of the dialog's DPI. Called with every message of the dialog: it loads the icon at
// WM_INITDIALOG and WM_DPICHANGED, and frees it at WM_DESTROY.
void KeepDpiIcon(HWND hDlg, UINT uMsg, WPARAM wParam, int idIcon);

// Keeps a dialog dark while Windows' app mode is dark (Windows 10 1809 and later, high
// contrast off), and follows a change of either. Called with every message of the dialog: it
// acts at WM_INITDIALOG, at WM_SETTINGCHANGE "ImmersiveColorSet" or SPI_SETHIGHCONTRAST, and
// at WM_SYSCOLORCHANGE and WM_THEMECHANGED, which also come with high contrast.
void KeepDarkMode(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The brush for a WM_CTLCOLORDLG, WM_CTLCOLORSTATIC or WM_CTLCOLOREDIT message, with the text
// colours set in hdc, while the dialogs are dark; NULL otherwise, for the platform's own colours.
HBRUSH GetDarkBrush(UINT uMsg, HDC hdc);

// Frees the brushes of the dark dialogs, once the last one has ended.
void FreeDarkBrushes(void);
