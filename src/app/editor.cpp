// Morvane - the label editor: an edit field with the name the desktop shows, Apply and Cancel.
// Apply is enabled only for a non-empty label that differs from the text it opened on.

#include "app/app.h"
#include "app/state.h"
#include "resource.h"
#include "shellstore/changelabel.h"

// Reads the edit field and enables Apply for a label worth storing. The field is
// read with its full width, so a 48-byte label round-trips without being cut.
static void UpdateApplyButton(HWND hDlg)
{
    GetDlgItemTextA(hDlg, IDC_LABEL_EDIT, NewLabel, sizeof NewLabel);
    EnableWindow(GetDlgItem(hDlg, IDOK), NewLabel[0] != '\0' && !IsSameText(NewLabel, CurrentLabel));
}

// Stores the edited label, then plays the sound and shows the About box; when the
// label cannot be stored, an error box says so instead. Controls stay disabled.
static void ApplyNewLabel(HWND hDlg)
{
    EnableWindow(GetDlgItem(hDlg, IDC_LABEL_EDIT), FALSE);
    EnableWindow(GetDlgItem(hDlg, IDOK), FALSE);
    EnableWindow(GetDlgItem(hDlg, IDCANCEL), FALSE);

    GetDlgItemTextA(hDlg, IDC_LABEL_EDIT, NewLabel, sizeof NewLabel);
    if (ChangeBinLabel(NewLabel)) {
        PlayEmptyBinSound();
        // The program's own module, so the box's icon control finds icon 102.
        DialogBoxParamA(GetModuleHandleA(NULL), "About", hDlg, AboutDlgProc, 0);
    } else {
        ShowRegistryError(hDlg, TRUE);
    }
}

INT_PTR CALLBACK EditorDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;

    switch (uMsg) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(hDlg, IDC_LABEL_EDIT, EM_LIMITTEXT, sizeof CurrentLabel - 1, 0);
        SetDlgItemTextA(hDlg, IDC_LABEL_EDIT, CurrentLabel);
        EnableWindow(GetDlgItem(hDlg, IDOK), FALSE);
        return TRUE;

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_LABEL_EDIT:
            if (HIWORD(wParam) == EN_CHANGE)
                UpdateApplyButton(hDlg);
            return FALSE;
        case IDOK:
            // The dialog manager can send IDOK for Enter while Apply is disabled.
            if (!IsWindowEnabled(GetDlgItem(hDlg, IDOK)))
                return TRUE;
            ApplyNewLabel(hDlg);
            /* fall through */
        case IDCANCEL:
            EndDialog(hDlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
