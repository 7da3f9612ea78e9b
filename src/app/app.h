// Morvane - procedures of the program's user interface.
#pragma once

#include <windows.h>

// Exit codes of a command-line run; an interactive run always ends with 0.
enum {
    EXIT_DONE = 0,          // stored, or already equal to the stored label
    EXIT_NOT_STORED = 1,    // the label could not be written, or another name still hides it
    EXIT_TAIL_TOO_LONG = 2  // the tail does not fit a label; nothing was written
};

INT_PTR CALLBACK EditorDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// With an administrator's filtered token and a label this process may not store, starts an
// elevated copy of the program, which shows the editor, and waits for it to end. FALSE when
// none ran (no need, the prompt declined, the start failed): the editor opens here.
BOOL RunElevatedEditor(void);

// Shows the registry error box, "reading" at start-up or "writing" after Apply.
void ShowRegistryError(HWND hwndOwner, BOOL fWriting);

// Plays the user's Empty Recycle Bin sound to its end, if one is set.
void PlayEmptyBinSound(void);
