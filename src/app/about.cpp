// Morvane - the About box that closes a run after Apply.
// Its OK button carries IDCANCEL, so OK, Enter, Esc and a close command all end it.

#include "app/app.h"
#include "resource.h"

// Puts the box over its owner's client area, where the template places it. The dialog manager
// measures the template's position from the client area's left edge, which in a mirrored
// (right-to-left) owner is the right one, and would put the box beside the editor.
static void CoverOwnerClient(HWND hDlg)
{
    HWND hOwner = GetWindow(hDlg, GW_OWNER);
    RECT rcClient;

    if (hOwner == NULL || !GetClientRect(hOwner, &rcClient))
        return;
    // Mapped as a rectangle, so that a mirrored owner's left and right are swapped back.
    MapWindowPoints(hOwner, NULL, (LPPOINT)&rcClient, 2);
    SetWindowPos(hDlg, NULL, rcClient.left, rcClient.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    KeepDpiIcon(hDlg, uMsg, wParam, IDI_BIN_EMPTY);
    KeepDarkMode(hDlg, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        // The brush is the result here, not a handled flag; NULL leaves the platform's colours.
        return (INT_PTR)GetDarkBrush(uMsg, (HDC)wParam);

    case WM_INITDIALOG:
        CoverOwnerClient(hDlg);
        SetFocus(hDlg);
        SetForegroundWindow(hDlg);
        return FALSE;  // the focus stays where it was just put

    case WM_PAINT:
        // Each repaint asks for the foreground again; the painting is left to the platform.
        SetForegroundWindow(hDlg);
        return FALSE;

    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
