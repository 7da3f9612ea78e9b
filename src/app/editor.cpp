// Morvane - the label editor: an edit field with the name the desktop shows, Apply and Cancel.
// Apply is enabled only for a non-empty label that differs from the text it opened on.

#include "app/app.h"
#include "app/state.h"
#include "resource.h"
#include "shellstore/changelabel.h"

// Whether the name the desktop shows could not be told, so that the editor opened on the
// stored label: storing that label again removes what hides it.
static BOOL fShownNameUnknown;

// Reads the edit field into NewLabel and tells whether it is a label worth storing:
// non-empty, different from the text the editor opened on (unless the name shown is unknown),
// and spelt exactly, whole, in the label's bytes of the ANSI code page. Its characters are
// read, not its ANSI form, which has ? for what the code page cannot spell and may end in
// half a character. One character more than a label holds is read, so a longer text is seen
// as one; the edit control's own limit counts characters, not bytes.
static BOOL ReadNewLabel(HWND hDlg)
{
    WCHAR wszText[sizeof(LabelText) + 1];

    // More characters than a label has bytes cannot fit in any code page.
    if (GetDlgItemTextW(hDlg, IDC_LABEL_EDIT, wszText, sizeof wszText / sizeof wszText[0]) >= sizeof NewLabel)
        wszText[0] = L'\0';
    return CopyWideText(NewLabel, sizeof NewLabel, wszText) && NewLabel[0] != '\0' &&
           (fShownNameUnknown || !IsSameText(NewLabel, CurrentLabel));
}

// Stores the edited label, then plays the sound and shows the About box. Where the machine's
// key refuses it, the user at the desk may have the name for this account only instead, as
// Explorer's rename gives; answered No, nothing is stored. A copy elevated as another user is
// not offered one: the desk would never show it. When no name could be stored, an error box
// says so. Controls stay disabled.
static void ApplyNewLabel(HWND hDlg)
{
    BinRename result;

    EnableWindow(GetDlgItem(hDlg, IDC_LABEL_EDIT), FALSE);
    EnableWindow(GetDlgItem(hDlg, IDOK), FALSE);
    EnableWindow(GetDlgItem(hDlg, IDCANCEL), FALSE);

    result = RenameBin(NewLabel, RENAME_ALL_USERS);
    if (result == BIN_REFUSED && IsDeskUser()) {
        if (!AskForUserName(hDlg))
            return;
        result = RenameBin(NewLabel, RENAME_THIS_ACCOUNT);
    }
    if (result == BIN_RENAMED || result == BIN_RENAMED_FOR_ACCOUNT) {
        PlayEmptyBinSound();
        // The program's own module, so the box's icon control finds icon 102.
        DialogBoxParamA(GetModuleHandleA(NULL), "About", hDlg, AboutDlgProc, 0);
    } else {
        ShowRegistryError(hDlg, TRUE);
    }
}

INT_PTR CALLBACK EditorDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    KeepDpiIcon(hDlg, uMsg, wParam, IDI_BIN_FULL);
    KeepDarkMode(hDlg, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        // The brush is the result here, not a handled flag; NULL leaves the platform's colours.
        return (INT_PTR)GetDarkBrush(uMsg, (HDC)wParam);

    case WM_INITDIALOG:
        fShownNameUnknown = (BOOL)lParam;
        // A screen reader names the edit field after the static text just before it in the
        // window order; the template has the label after it. Static text is no tab stop, so
        // the tab order stays.
        SetWindowPos(GetDlgItem(hDlg, IDC_CAPTION_TEXT), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendDlgItemMessageA(hDlg, IDC_LABEL_EDIT, EM_LIMITTEXT, sizeof CurrentLabel - 1, 0);
        SetDlgItemTextA(hDlg, IDC_LABEL_EDIT, CurrentLabel);
        // The stored label that opens where the name shown is unknown can be applied as it is.
        EnableWindow(GetDlgItem(hDlg, IDOK), fShownNameUnknown && ReadNewLabel(hDlg));
        return TRUE;

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_LABEL_EDIT:
            if (HIWORD(wParam) == EN_CHANGE)
                EnableWindow(GetDlgItem(hDlg, IDOK), ReadNewLabel(hDlg));
            return FALSE;
        case IDOK:
            // The dialog manager can send IDOK for Enter while Apply is disabled.
            if (!IsWindowEnabled(GetDlgItem(hDlg, IDOK)) || !ReadNewLabel(hDlg))
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
