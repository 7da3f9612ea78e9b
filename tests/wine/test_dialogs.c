/* Morvane Wine tests - the dialog driver: starts morvane.exe without a tail, finds its
 * windows, checks them with messages, edits, applies and closes them; a few cases press
 * real keys through the X server with xdotool. Saves screenshots of both dialogs.
 * With --dpi=N, in a prefix the fixture runs at N DPI, checks that both dialogs are drawn at it.
 *   test_dialogs.exe MORVANE_EXE SCREENSHOT_DIR [--dpi=N] */

#define _WIN32_WINNT 0x0A00 /* the DPI calls of Windows 10, which both Wines have */
#define WINVER       0x0A00
#define COBJMACROS
#include "harness.h"

#include <oleacc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <tlhelp32.h>

#define LABEL_48 "123456789012345678901234567890123456789012345678"
#define NOTICE   "Morvane " PROJECT_VERSION_TEXT "\nRecycle Bin renamer"

typedef struct {
    int id;
    const char *cls;
    const char *text; /* NULL: an icon control, checked for its icon */
    DWORD style;      /* bits the control must have */
    DWORD exStyle;
} ControlSpec;

/* The dialog manager trades an edit field's WS_BORDER for WS_EX_CLIENTEDGE. The label comes
 * just before the field, for a screen reader. */
static const ControlSpec EditorControls[] = {
    {103, "Static", "Current icon label:", 0x50020000, 0},
    {1000, "Edit", "Trash", 0x50010080, WS_EX_CLIENTEDGE},
    {IDOK, "Button", "Apply", 0x50010001, 0},
    {IDCANCEL, "Button", "Cancel", 0x50010000, 0},
    {101, "Static", NULL, 0x50000003, WS_EX_TRANSPARENT},
};

static const ControlSpec AboutControls[] = {
    {IDCANCEL, "Button", "OK", 0x50010301, 0},
    {103, "Static", NOTICE, 0x50000080, 0},
    {102, "Static", NULL, 0x50000003, WS_EX_TRANSPARENT},
};

/* Controls in z-order, which is the tab order. Texts are
 * asked for with WM_GETTEXT: GetWindowText does not ask another process's controls. */
static void CheckControls(HWND hDlg, const ControlSpec *want, size_t count)
{
    HWND hCtl = GetWindow(hDlg, GW_CHILD);
    char cls[32], text[128];
    size_t i;
    for (i = 0; i < count; ++i, hCtl = GetWindow(hCtl, GW_HWNDNEXT)) {
        DWORD style, exStyle;
        CHECK(hCtl != NULL, "control %d missing", want[i].id);
        if (hCtl == NULL)
            return;
        style = (DWORD)GetWindowLongA(hCtl, GWL_STYLE);
        exStyle = (DWORD)GetWindowLongA(hCtl, GWL_EXSTYLE);
        GetClassNameA(hCtl, cls, sizeof cls);
        CHECK(GetDlgCtrlID(hCtl) == want[i].id, "control %u has id %d, expected %d", (unsigned)i,
              GetDlgCtrlID(hCtl), want[i].id);
        CHECK(lstrcmpiA(cls, want[i].cls) == 0, "control %d is a %s", want[i].id, cls);
        CHECK((style & want[i].style) == want[i].style, "control %d style %08lx lacks %08lx", want[i].id,
              style, want[i].style);
        CHECK((exStyle & want[i].exStyle) == want[i].exStyle, "control %d ex style %08lx", want[i].id,
              exStyle);
        if (want[i].text != NULL) {
            SendMessageA(hCtl, WM_GETTEXT, sizeof text, (LPARAM)text);
            CHECK(strcmp(text, want[i].text) == 0, "control %d reads [%s]", want[i].id, text);
        } else {
            CHECK(SendMessageA(hCtl, STM_GETICON, 0, 0) != 0, "control %d shows no icon", want[i].id);
        }
    }
    CHECK(hCtl == NULL, "more controls than expected");
}

/* Every text fits its control, in percent of its width (110: with a tenth to spare), measured
 * in the dialog's font: the template's face at its size and the dialog's DPI, as the dialog
 * manager makes it (a font handle of another process cannot be read). */
static void CheckTextsFit(HWND hDlg, const char *face, int points, int percent)
{
    HDC hdc = GetDC(hDlg);
    HFONT hOld = SelectObject(hdc, CreateFontA(-MulDiv(points, (int)GetDpiForWindow(hDlg), 72), 0, 0, 0, 0,
                                               FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, face));
    HWND hCtl;
    WCHAR text[128];
    RECT rcText, rc;

    for (hCtl = GetWindow(hDlg, GW_CHILD); hCtl != NULL; hCtl = GetWindow(hCtl, GW_HWNDNEXT)) {
        if ((GetWindowLongA(hCtl, GWL_STYLE) & SS_TYPEMASK) == SS_ICON || GetDlgCtrlID(hCtl) == 1000 ||
            SendMessageW(hCtl, WM_GETTEXT, 128, (LPARAM)text) == 0)
            continue;
        SetRect(&rcText, 0, 0, 0, 0);
        DrawTextW(hdc, text, -1, &rcText, DT_CALCRECT | DT_NOPREFIX);
        GetClientRect(hCtl, &rc);
        CHECK(rcText.right * percent <= rc.right * 100 && rcText.bottom <= rc.bottom,
              "control %d: its text takes %ldx%ld pixels of %ldx%ld", GetDlgCtrlID(hCtl), rcText.right,
              rcText.bottom, rc.right, rc.bottom);
    }
    DeleteObject(SelectObject(hdc, hOld));
    ReleaseDC(hDlg, hdc);
}

/* What a screen reader announces for the edit field: its label's text. */
static void CheckAccessibleName(HWND hEditor)
{
    IAccessible *acc = NULL;
    VARIANT self = {.vt = VT_I4, .lVal = CHILDID_SELF};
    BSTR name = NULL;
    WCHAR label[128];
    HRESULT hr =
        AccessibleObjectFromWindow(GetDlgItem(hEditor, 1000), OBJID_CLIENT, &IID_IAccessible, (void **)&acc);

    SendDlgItemMessageW(hEditor, 103, WM_GETTEXT, 128, (LPARAM)label);
    if (SUCCEEDED(hr))
        hr = IAccessible_get_accName(acc, self, &name);
    CHECK(hr == S_OK && name != NULL && wcscmp(name, label) == 0,
          "the edit field's accessible name (0x%08lx) is not its label's text", hr);
    SysFreeString(name);
    if (acc != NULL)
        IAccessible_Release(acc);
}

static BOOL IsItemEnabled(HWND hDlg, int id)
{
    return IsWindowEnabled(GetDlgItem(hDlg, id));
}

/* Sets the edit field's characters, given in UTF-8. */
static void SetEdit(HWND hEditor, const char *text)
{
    WCHAR wide[256];
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, 256);
    SendMessageW(GetDlgItem(hEditor, 1000), WM_SETTEXT, 0, (LPARAM)wide);
}

static void Click(HWND hDlg, int id)
{
    PostMessageA(GetDlgItem(hDlg, id), BM_CLICK, 0, 0);
}

/* One shell command with a Linux tool; its failure fails the case, naming the command. */
static BOOL RunTool(const char *what, const char *command)
{
    int status = RunShell(command, 15000);
    CHECK(status == 0, "%s: [%s] gave exit status %d", what, command, status);
    return status == 0;
}

static void Screenshot(HWND hwnd, const char *name)
{
    RECT rc;
    char args[512];
    if (!HasTool("MORVANE_IMPORT")) {
        Skip("no screenshot of %s: ImageMagick's import is not installed", name);
        return;
    }
    Sleep(300); /* let it paint */
    GetWindowRect(hwnd, &rc);
    snprintf(args, sizeof args, "\"$MORVANE_IMPORT\" -window root -crop %ldx%ld+%ld+%ld +repage '%s/%s.png'",
             rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top, Arg(0), name);
    RunTool("screenshot", args);
}

/* Polls until hDlg is its thread's active window and holds the keyboard focus. */
static BOOL WaitFocus(HWND hDlg, DWORD msTimeout)
{
    DWORD start = GetTickCount();
    GUITHREADINFO gui;
    do {
        memset(&gui, 0, sizeof gui);
        gui.cbSize = sizeof gui;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, NULL), &gui) && gui.hwndActive == hDlg &&
            (gui.hwndFocus == hDlg || IsChild(hDlg, gui.hwndFocus)))
            return TRUE;
        Sleep(50);
    } while (GetTickCount() - start < msTimeout);
    return FALSE;
}

/* Real keystrokes, as a user types them: once hDlg has the focus, xdotool sends the keys
 * without a window argument, so they take the X server's input path (XTEST) to the
 * focused window. FALSE, and a visible skip, without xdotool. */
static BOOL PressKeys(HWND hDlg, const char *keys)
{
    char command[512];
    if (!HasTool("MORVANE_XDOTOOL")) {
        Skip("xdotool is not installed: no real keystrokes");
        return FALSE;
    }
    CHECK(WaitFocus(hDlg, 10000), "the window has not the keyboard focus for [%s]", keys);
    /* xdotool reads the text of its type command in the locale's encoding. */
    snprintf(command, sizeof command, "LC_ALL=C.UTF-8 \"$MORVANE_XDOTOOL\" %s", keys);
    return RunTool("keys", command);
}

/* Gives the editor's X window the input focus, as a click on it would. */
static BOOL FocusEditor(HWND hEditor)
{
    if (!HasTool("MORVANE_XDOTOOL")) {
        Skip("xdotool is not installed: no real keystrokes");
        return FALSE;
    }
    return RunTool("focus",
                   "\"$MORVANE_XDOTOOL\" search --sync --limit 1 --name '^Morvane$' windowfocus --sync") &&
           WaitFocus(hEditor, 10000);
}

/* Polls the edit field until it reads text and its selection is the one given. */
static BOOL WaitEdit(HWND hEditor, const char *text, DWORD selection)
{
    DWORD start = GetTickCount();
    WCHAR wide[128];
    char now[384];
    do {
        SendDlgItemMessageW(hEditor, 1000, WM_GETTEXT, 128, (LPARAM)wide);
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, now, sizeof now, NULL, NULL);
        if (strcmp(now, text) == 0 && (DWORD)SendDlgItemMessageA(hEditor, 1000, EM_GETSEL, 0, 0) == selection)
            return TRUE;
        Sleep(50);
    } while (GetTickCount() - start < 10000);
    return FALSE;
}

/* Types a text of cch characters, given in UTF-8, with real keys into the focused edit field,
 * until it reads that text. xdotool types a character that no key has by mapping it to a
 * spare key for a moment, which a program may read too late; that try is typed again. */
static BOOL TypeText(HWND hEditor, const char *text, int cch)
{
    char keys[256];
    int attempt;
    snprintf(keys, sizeof keys, "key ctrl+a BackSpace type --delay 40 '%s'", text);
    for (attempt = 1; attempt <= 3; ++attempt) {
        if (!PressKeys(hEditor, keys))
            return FALSE;
        if (WaitEdit(hEditor, text, MAKELONG(cch, cch)))
            return TRUE;
        printf("typing [%s], try %d of 3: xdotool's keys came through otherwise\n", text, attempt);
    }
    CHECK(FALSE, "three tries to type [%s] with xdotool did not give that text", text);
    return FALSE;
}

/* The class key holds LocalizedString, which Wine shows as "Trash", unless told otherwise. */
static HWND OpenEditor(const char *stored, BOOL localized, PROCESS_INFORMATION *pi)
{
    HWND hEditor;
    SeedBin(stored, localized);
    WriteDefaultText(HKEY_CURRENT_USER, SOUND_KEY, "C:\\no\\such\\sound.wav");
    if (!StartMorvane("morvane.exe", pi)) {
        CHECK(FALSE, "cannot start morvane.exe (%lu)", GetLastError());
        return NULL;
    }
    hEditor = WaitForWindow(pi->dwProcessId, "Morvane", NULL, 10000);
    CHECK(hEditor != NULL, "the editor did not open");
    if (hEditor == NULL)
        WaitMorvane(pi, 0);
    return hEditor;
}

static void CheckEndsUnchanged(PROCESS_INFORMATION *pi, const char *stored)
{
    RegValue label;
    CHECK(WaitMorvane(pi, 10000) == 0, "exit code is not 0");
    ReadDefault(HKEY_CLASSES_ROOT, BIN_KEY, &label);
    CHECK(label.exists && label.cb == strlen(stored) + 1 && strcmp((char *)label.data, stored) == 0,
          "the label was written");
}

/* The comctl32.dll the process loaded, lower case, or "" where its modules cannot be listed:
 * Common Controls 6, the themed controls the manifest asks for, come from the side-by-side
 * store only. */
static const char *CommonControlsOf(DWORD pid, char *path, size_t cbPath)
{
    MODULEENTRY32 module;
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, pid);
    BOOL more = hSnapshot != INVALID_HANDLE_VALUE;
    int modules = 0;

    path[0] = '\0';
    for (module.dwSize = sizeof module, more = more && Module32First(hSnapshot, &module); more;
         more = Module32Next(hSnapshot, &module), ++modules)
        if (lstrcmpiA(module.szModule, "comctl32.dll") == 0)
            lstrcpynA(path, module.szExePath, (int)cbPath);
    if (hSnapshot != INVALID_HANDLE_VALUE)
        CloseHandle(hSnapshot);
    if (modules != 0 && path[0] == '\0')
        snprintf(path, cbPath, "(none)");
    return CharLowerA(path);
}

static void TestEditorOpens(void)
{
    PROCESS_INFORMATION pi;
    GUITHREADINFO gui;
    HWND hEditor;
    DWORD style;
    char path[MAX_PATH];
    BOOL wow64 = FALSE;

    BeginCase("editor opens on the stored label with Apply disabled");
    if ((hEditor = OpenEditor("Trash", TRUE, &pi)) == NULL)
        return;
    style = (DWORD)GetWindowLongA(hEditor, GWL_STYLE);
    CHECK((style & 0x80C808C0) == 0x80C808C0, "editor style %08lx", style);
    CheckControls(hEditor, EditorControls, sizeof EditorControls / sizeof EditorControls[0]);
    CHECK(!IsItemEnabled(hEditor, IDOK), "Apply is enabled");
    /* The English template stays as it always was: its label fits, with no tenth to spare. */
    CheckTextsFit(hEditor, "MS Sans Serif", 8, 100);
    CheckAccessibleName(hEditor);
    CHECK(SendDlgItemMessageA(hEditor, 1000, EM_GETLIMITTEXT, 0, 0) == 48, "edit limit is not 48");
    memset(&gui, 0, sizeof gui);
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(hEditor, NULL), &gui);
    CHECK(gui.hwndFocus == GetDlgItem(hEditor, 1000), "the edit field has not the focus");
    if (CommonControlsOf(pi.dwProcessId, path, sizeof path)[0] == '\0' &&
        IsWow64Process(pi.hProcess, &wow64) && wow64)
        Skip("Wine's split WoW64 lists no modules of a 32-bit process to a 64-bit one; the 32-bit "
             "prefix's dialog test checks this exe's Common Controls");
    else
        CHECK(strstr(path, "_microsoft.windows.common-controls_6595b64144ccf1df_6.0.") != NULL,
              "not Common Controls 6 from the side-by-side store: %s", path);
    Screenshot(hEditor, "editor");
    Click(hEditor, IDCANCEL);
    CheckEndsUnchanged(&pi, "Trash");
}

/* The shell shows LocalizedString ("Trash" under Wine) in place of the stored label: the
 * editor opens on the shell's name, the stored label behind it is a change, and Apply
 * makes the shell show it. */
static void TestOpensOnShownName(void)
{
    PROCESS_INFORMATION pi;
    ShellNames shown;
    HWND hEditor, hAbout;
    char text[128] = "";

    BeginCase("editor opens on the name the shell shows, and the stored label behind it can be applied");
    if ((hEditor = OpenEditor("Recycle Bin", TRUE, &pi)) == NULL)
        return;
    CHECK(ShellBinNames(&shown), "the shell's name could not be asked");
    SendDlgItemMessageA(hEditor, 1000, WM_GETTEXT, sizeof text, (LPARAM)text);
    CHECK(strcmp(text, shown.normal) == 0 && strcmp(text, "Recycle Bin") != 0,
          "the editor opened on [%s]; the shell shows [%s] over the stored Recycle Bin", text, shown.normal);
    CHECK(!IsItemEnabled(hEditor, IDOK), "Apply is enabled");
    SetEdit(hEditor, "Recycle Bin");
    CHECK(IsItemEnabled(hEditor, IDOK), "the hidden stored label does not enable Apply");
    Click(hEditor, IDOK);
    hAbout = WaitForWindow(pi.dwProcessId, "", hEditor, 10000);
    CHECK(hAbout != NULL, "no About box after Apply");
    if (hAbout != NULL)
        Click(hAbout, IDCANCEL);
    CHECK(WaitMorvane(&pi, 10000) == 0, "exit code is not 0");
    CheckShownName("Recycle Bin");
}

typedef struct {
    const char *text;
    BOOL applyEnabled;
} EditStep;

/* 24 Cyrillic letters fill the label's 48 bytes of UTF-8; 40 of them would be cut. */
#define ZH8 "жжжжжжжж"
static const EditStep EditSteps[] = {
    {"Bin", TRUE},
    {"", FALSE},
    {"Trash", FALSE},
    {"TRASH", TRUE},
    {"Trash ", TRUE},
    {"Trash", FALSE},
    {ZH8 ZH8 ZH8, TRUE},
    {ZH8 ZH8 ZH8 "ж", FALSE},
    {ZH8 ZH8 ZH8 ZH8 ZH8, FALSE},
    {"Жёлтая корзина", TRUE},
};

static void TestApplyFollowsEdits(void)
{
    PROCESS_INFORMATION pi;
    HWND hEditor;
    size_t i;

    BeginCase("Apply is enabled only for a changed, non-empty label");
    if ((hEditor = OpenEditor("Trash", TRUE, &pi)) == NULL)
        return;
    for (i = 0; i < sizeof EditSteps / sizeof EditSteps[0]; ++i) {
        SetEdit(hEditor, EditSteps[i].text);
        CHECK(IsItemEnabled(hEditor, IDOK) == EditSteps[i].applyEnabled, "after [%s] Apply is %s",
              EditSteps[i].text, EditSteps[i].applyEnabled ? "disabled" : "enabled");
    }
    Click(hEditor, IDCANCEL);
    CheckEndsUnchanged(&pi, "Trash");

    BeginCase("a 48-byte label round-trips: retyped, Apply stays disabled");
    if ((hEditor = OpenEditor(LABEL_48, FALSE, &pi)) == NULL)
        return;
    SetEdit(hEditor, "x");
    SetEdit(hEditor, LABEL_48);
    CHECK(!IsItemEnabled(hEditor, IDOK), "Apply is enabled");
    PostMessageA(hEditor, WM_SYSCOMMAND, SC_CLOSE, 0);
    CheckEndsUnchanged(&pi, LABEL_48);
}

static BOOL WaitForeground(HWND hwnd, DWORD msTimeout)
{
    DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (GetForegroundWindow() == hwnd)
            return TRUE;
        Sleep(50);
    } while (GetTickCount() - start < msTimeout);
    return FALSE;
}

/* Covers the About box with a window of the driver's own that takes the foreground,
 * then moves it away: the box, repainted, asks for the foreground again. */
static void CheckForegroundAfterRepaint(HWND hAbout)
{
    RECT rc;
    HWND hCover;

    GetWindowRect(hAbout, &rc);
    hCover =
        CreateWindowExA(WS_EX_TOPMOST, "STATIC", "cover", WS_POPUP | WS_VISIBLE, rc.left - 10, rc.top - 10,
                        rc.right - rc.left + 20, rc.bottom - rc.top + 20, NULL, NULL, NULL, NULL);
    SetForegroundWindow(hCover);
    if (!WaitForeground(hCover, 1000)) {
        Skip("the platform did not give the covering window the foreground");
    } else {
        MoveWindow(hCover, rc.right + 40, rc.bottom + 40, 20, 20, TRUE);
        if (!WaitForeground(hAbout, 1000)) {
            /* Wine redraws an uncovered window from its own copy, without WM_PAINT. */
            Skip("uncovering did not repaint the About box; repainting it on request");
            InvalidateRect(hAbout, NULL, TRUE);
        }
        CHECK(WaitForeground(hAbout, 3000), "the repainted About box did not take the foreground back");
    }
    DestroyWindow(hCover);
}

/* The About box covers the editor's client area, mirrored or not. */
static void CheckCovers(HWND hAbout, HWND hEditor)
{
    RECT client, about;
    GetClientRect(hEditor, &client);
    MapWindowPoints(hEditor, NULL, (POINT *)&client, 2);
    GetWindowRect(hAbout, &about);
    CHECK(EqualRect(&client, &about),
          "About (%ld,%ld)-(%ld,%ld) does not cover the editor's client area (%ld,%ld)-(%ld,%ld)", about.left,
          about.top, about.right, about.bottom, client.left, client.top, client.right, client.bottom);
}

static void TestApply(void)
{
    PROCESS_INFORMATION pi;
    HWND hEditor, hAbout;
    RegValue label;
    DWORD style;

    BeginCase("Apply stores the label, shows the About box over the editor, then ends");
    if ((hEditor = OpenEditor("Trash", TRUE, &pi)) == NULL)
        return;
    SetEdit(hEditor, "Driver Bin");
    Click(hEditor, IDOK);
    hAbout = WaitForWindow(pi.dwProcessId, "", hEditor, 10000);
    CHECK(hAbout != NULL, "no About box owned by the editor");
    if (hAbout == NULL) {
        WaitMorvane(&pi, 0);
        return;
    }
    style = (DWORD)GetWindowLongA(hAbout, GWL_STYLE);
    CHECK((style & WS_CAPTION) == 0 && (style & WS_POPUP) != 0, "About style %08lx", style);
    CHECK(GetWindowLongA(hAbout, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, "About lacks WS_EX_CONTROLPARENT");
    CheckControls(hAbout, AboutControls, sizeof AboutControls / sizeof AboutControls[0]);
    CheckTextsFit(hAbout, "MS Sans Serif", 8, 110);
    CheckCovers(hAbout, hEditor);
    CHECK(!IsItemEnabled(hEditor, 1000) && !IsItemEnabled(hEditor, IDOK) && !IsItemEnabled(hEditor, IDCANCEL),
          "editor controls are enabled under the About box");
    CHECK(IsStoredLabel("Driver Bin"), "label not stored before the About box");
    Screenshot(hEditor, "about");
    CheckForegroundAfterRepaint(hAbout);
    Click(hAbout, IDCANCEL);
    CHECK(WaitMorvane(&pi, 10000) == 0, "exit code is not 0 after the About box");
    ReadNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, &label);
    CHECK(!label.exists, "LocalizedString still hides the label");
    CheckShownName("Driver Bin");
}

/* Ways to leave the editor without a change: a message to a control, or to the editor. */
typedef struct {
    const char *name;
    int control; /* 0: the editor itself */
    UINT msg;
    WPARAM wParam;
} Leave;

static const Leave Leaves[] = {
    {"Cancel ends without writing", IDCANCEL, BM_CLICK, 0},
    {"the close box ends without writing", 0, WM_SYSCOMMAND, SC_CLOSE},
};

static void TestLeave(const Leave *leave)
{
    PROCESS_INFORMATION pi;
    HWND hEditor;

    BeginCase(leave->name);
    if ((hEditor = OpenEditor("Trash", TRUE, &pi)) == NULL)
        return;
    SetEdit(hEditor, "Bin");
    PostMessageA(leave->control ? GetDlgItem(hEditor, leave->control) : hEditor, leave->msg, leave->wParam,
                 0);
    CheckEndsUnchanged(&pi, "Trash");
}

/* A label that cannot be stored, or a name in front of it that cannot be removed. */
typedef struct {
    const char *name;
    HKEY root;
    const char *readOnlyKey;
    int answer; /* to the offer of a name for this account; 0: none is made, the write error shows */
} WriteError;

#define QUESTION \
    "A name for all users needs administrator rights.\nRename the Recycle Bin for this account only?"
static const WriteError WriteErrors[] = {
    {"Apply refused by the class key offers this account a name: Yes stores it", HKEY_CLASSES_ROOT, BIN_KEY,
     IDYES},
    {"Apply refused by the class key offers this account a name: No stores none", HKEY_CLASSES_ROOT, BIN_KEY,
     IDNO},
    {"Apply that cannot remove the user's own name shows the write error", HKEY_CURRENT_USER, USER_KEY, 0},
};

static void TestWriteError(const WriteError *e)
{
    PROCESS_INFORMATION pi;
    HWND hEditor, hBox, hAbout;
    RegValue user;
    char text[128] = "";

    BeginCase(e->name);
    if ((hEditor = OpenEditor("Trash", TRUE, &pi)) == NULL)
        return;
    SeedUserName("Mine");
    CHECK(SetKeyReadOnly(e->root, e->readOnlyKey, TRUE), "cannot make the key read-only");
    SetEdit(hEditor, "Bin");
    Click(hEditor, IDOK);
    hBox = WaitForWindow(pi.dwProcessId, e->answer ? "Morvane" : "Application Error", hEditor, 10000);
    CHECK(hBox != NULL, "no message box owned by the editor");
    if (hBox != NULL) {
        GetDlgItemTextA(hBox, 0xFFFF, text, sizeof text);
        CHECK(strcmp(text, e->answer ? QUESTION : "Error writing system registry entry.") == 0, "text [%s]",
              text);
        CHECK(WaitForWindow(pi.dwProcessId, "", hEditor, 0) == NULL, "an About box as well");
        PostMessageA(hBox, WM_COMMAND, e->answer ? e->answer : IDOK, 0);
    }
    if ((hAbout = WaitForWindow(pi.dwProcessId, "", hEditor, e->answer == IDYES ? 10000 : 0)) != NULL)
        Click(hAbout, IDCANCEL);
    CHECK((hAbout != NULL) == (e->answer == IDYES), "the About box %s", hAbout ? "shows" : "does not show");
    if (e->answer) /* the class key as it was */
        CheckEndsUnchanged(&pi, "Trash");
    else
        CHECK(WaitMorvane(&pi, 10000) == 0, "exit code is not 0");
    ReadDefault(HKEY_CURRENT_USER, USER_KEY, &user);
    CHECK(e->answer == IDYES ? IsStoredText(&user, REG_SZ, "Bin", 49)
                             : strcmp((char *)user.data, "Mine") == 0,
          "the user's own name reads [%s]", (char *)user.data);
    SetKeyReadOnly(e->root, e->readOnlyKey, FALSE);
}

/* Under User Account Control an administrator's programs start with a filtered token, as
 * under Wine 10; Wine 8 gives every program a full token. Where the class key is guarded from
 * administrators too, the full token's restore privilege may still write it: elevation is asked
 * for, and the elevated copy's editor, which Wine refuses the write (it grants a backup-restore
 * open nothing more), offers the user at the desk a name for this account. (Where the DACL
 * alone would let the full token write, Wine cannot show it: its filtered token keeps the
 * Administrators group enabled, and its access checks ignore integrity levels.) */
typedef struct {
    const char *name;
    const char *dacl; /* the class key's; NULL: anyone may write */
} Elevation;

static const Elevation Elevations[] = {
    {"guarded class key: elevation, and the copy's Apply offers this account a name", GUARDED_DACL},
    {"writable class key: the editor opens in the started process", NULL},
};

static void TestElevation(const Elevation *e)
{
    PROCESS_INFORMATION pi;
    HWND hEditor, hBox;
    DWORD pidEditor = 0;
    BOOL elevated, asks = e->dacl != NULL && ProcessElevation(0, &elevated) == TokenElevationTypeLimited;
    char text[128] = "";

    BeginCase(e->name);
    if (e->dacl != NULL && !asks)
        Skip("this Wine gives every program a full token, which never asks: that a filtered one asks here "
             "shows under Wine 10");
    SeedBin("Trash", TRUE);
    CHECK(SetKeyDacl(HKEY_CLASSES_ROOT, BIN_KEY, e->dacl), "cannot set the class key's DACL");
    if (!StartMorvane("morvane.exe", &pi)) {
        CHECK(FALSE, "cannot start morvane.exe (%lu)", GetLastError());
        return;
    }
    hEditor = WaitForWindow(0, "Morvane", NULL, 15000);
    CHECK(hEditor != NULL, "no editor");
    if (hEditor != NULL) {
        GetWindowThreadProcessId(hEditor, &pidEditor);
        CHECK((pidEditor != pi.dwProcessId) == asks && CountProcesses("morvane.exe") == (asks ? 2 : 1),
              asks ? "no elevated copy opened the editor" : "the editor opened in another process");
    }
    if (hEditor != NULL && e->dacl != NULL) {
        SetEdit(hEditor, "Bin");
        Click(hEditor, IDOK);
        hBox = WaitForWindow(pidEditor, "Morvane", hEditor, 10000);
        CHECK(hBox != NULL, "Apply offers no name for this account");
        if (hBox != NULL) {
            GetDlgItemTextA(hBox, 0xFFFF, text, sizeof text);
            CHECK(strcmp(text, QUESTION) == 0, "text [%s]", text);
            PostMessageA(hBox, WM_COMMAND, IDNO, 0);
        }
    } else if (hEditor != NULL) {
        Click(hEditor, IDCANCEL);
    }
    CHECK(WaitMorvane(&pi, 15000) == 0, "the started process did not end with 0 after the editor");
    SetKeyDacl(HKEY_CLASSES_ROOT, BIN_KEY, NULL);
}

/* X delivers keys in order, so a key with a visible effect, pressed after the keys under
 * test and waited for, shows that those were handled: no fixed sleeps. */
static void TestKeystrokes(void)
{
    PROCESS_INFORMATION pi;
    HWND hEditor, hAbout;

    BeginCase("keys: Enter with the label unchanged does nothing, Esc cancels");
    if ((hEditor = OpenEditor("Trash", TRUE, &pi)) == NULL)
        return;
    /* Had Enter applied, the edit field would be disabled and never read "Trashx". */
    if (FocusEditor(hEditor) && PressKeys(hEditor, "key Return End x")) {
        CHECK(WaitEdit(hEditor, "Trashx", MAKELONG(6, 6)),
              "the keys after Enter did not reach the edit field");
        CHECK(WaitForWindow(pi.dwProcessId, "", hEditor, 0) == NULL,
              "Enter applied while Apply was disabled");
        PressKeys(hEditor, "key Escape");
    } else {
        Click(hEditor, IDCANCEL);
    }
    CheckEndsUnchanged(&pi, "Trash");

    BeginCase("keys: typing stops at 48 bytes");
    if ((hEditor = OpenEditor("Trash", TRUE, &pi)) == NULL)
        return;
    /* Home, after the typing, puts the caret at 0 once every byte has arrived. */
    if (FocusEditor(hEditor) && PressKeys(hEditor, "key ctrl+a BackSpace type " LABEL_48 "XYZ") &&
        PressKeys(hEditor, "key Home"))
        CHECK(WaitEdit(hEditor, LABEL_48, 0), "the edit field does not hold exactly the first 48 bytes");
    Click(hEditor, IDCANCEL);
    CheckEndsUnchanged(&pi, "Trash");

    BeginCase("keys: typing a name in another script and pressing Enter applies it; Enter closes About");
    if ((hEditor = OpenEditor("Trash", TRUE, &pi)) == NULL)
        return;
    /* xdotool's type takes every word after it, so Enter goes in a second call. */
    if (!FocusEditor(hEditor) || !TypeText(hEditor, "Жёлтая корзина", 14) ||
        !PressKeys(hEditor, "key Return")) {
        Click(hEditor, IDCANCEL);
        WaitMorvane(&pi, 10000);
        return;
    }
    hAbout = WaitForWindow(pi.dwProcessId, "", hEditor, 10000);
    CHECK(hAbout != NULL, "Enter did not apply");
    if (hAbout != NULL)
        PressKeys(hAbout, "key Return"); /* the About box took the focus */
    CHECK(WaitMorvane(&pi, 10000) == 0, "exit code is not 0");
    CHECK(IsStoredLabel("Жёлтая корзина"), "label not stored from the keys");
    CheckShownName("Жёлтая корзина");
}

/* The editor and the About box in the user's display language, which Wine takes from LC_ALL,
 * as the fixture sets it with --lang: that language's texts (UTF-8), each fitting its control,
 * and the edit field named by its label. */
typedef struct {
    const char *lang;
    int points;                        /* of the template's font, MS Shell Dlg */
    const char *label, *apply, *about; /* a right-to-left label ends with a right-to-left mark */
} Language;

static const Language Languages[] = {
    {"ar_SA", 8,
     "التسمية الحالية للرمز:"
     "\u200f",
     "تطبيق", "يعيد تسمية\nسلة المحذوفات"},
    {"bg_BG", 8, "Текущ надпис на иконата:", "Приложи", "Преименува кошчето"},
    {"cs_CZ", 8, "Aktuální popisek ikony:", "Použít", "Přejmenuje Koš"},
    {"da_DK", 8, "Ikonets aktuelle navn:", "Anvend", "Omdøber Papirkurv"},
    {"de_DE", 8, "Aktuelle Beschriftung:", "Übernehmen", "Benennt den Papierkorb um"},
    {"el_GR", 8, "Τρέχουσα ετικέτα εικονιδίου:", "Εφαρμογή", "Μετονομάζει τον\nΚάδο Ανακύκλωσης"},
    {"es_ES", 8, "Nombre actual del icono:", "Aplicar", "Cambia el nombre de la\nPapelera de reciclaje"},
    {"et_EE", 8, "Ikooni praegune silt:", "Rakenda", "Nimetab prügikasti ümber"},
    {"fi_FI", 8, "Kuvakkeen nykyinen nimi:", "Käytä", "Nimeää roskakorin\nuudelleen"},
    {"fr_FR", 8, "Nom actuel de l'icône :", "Appliquer", "Renomme la Corbeille"},
    {"he_IL", 8,
     "תווית הסמל הנוכחית:"
     "\u200f",
     "החל", "משנה את שם סל המיחזור"},
    {"hr_HR", 8, "Trenutna oznaka ikone:", "Primijeni", "Preimenuje Koš za smeće"},
    {"hu_HU", 8, "Az ikon jelenlegi felirata:", "Alkalmaz", "Átnevezi a Lomtárat"},
    {"it_IT", 8, "Nome attuale dell'icona:", "Applica", "Rinomina il Cestino"},
    {"ja_JP", 9, "現在のアイコン名：", "適用", "ごみ箱の名前を変更します"},
    {"ko_KR", 9, "현재 아이콘 이름:", "적용", "휴지통 이름 바꾸기"},
    {"lt_LT", 8, "Dabartinė piktogramos etiketė:", "Taikyti", "Pervardija Šiukšlinę"},
    {"lv_LV", 8, "Pašreizējā ikonas etiķete:", "Lietot", "Pārdēvē atkritni"},
    {"nb_NO", 8, "Gjeldende ikonnavn:", "Bruk", "Gir Papirkurv nytt navn"},
    {"nl_NL", 8, "Huidige pictogramnaam:", "Toepassen", "Wijzigt de naam van de\nPrullenbak"},
    {"pl_PL", 8, "Bieżąca nazwa ikony:", "Zastosuj", "Zmienia nazwę Kosza"},
    {"pt_BR", 8, "Nome atual do ícone:", "Aplicar", "Renomeia a Lixeira"},
    {"pt_PT", 8, "Nome atual do ícone:", "Aplicar", "Muda o nome da\nReciclagem"},
    {"ro_RO", 8, "Eticheta actuală a pictogramei:", "Aplicare", "Redenumește\nCoșul de reciclare"},
    {"ru_RU", 8, "Текущая подпись значка:", "Применить", "Переименовывает корзину"},
    {"sk_SK", 8, "Aktuálny popis ikony:", "Použiť", "Premenuje Kôš"},
    {"sl_SI", 8, "Trenutna oznaka ikone:", "Uporabi", "Preimenuje Koš"},
    {"sr_RS@latin", 8, "Trenutna oznaka ikone:", "Primeni", "Preimenuje Korpu\nza otpatke"},
    {"sv_SE", 8, "Aktuellt ikonnamn:", "Verkställ", "Byter namn på\nPapperskorgen"},
    {"th_TH", 8, "ชื่อไอคอนปัจจุบัน:", "นำไปใช้", "เปลี่ยนชื่อถังรีไซเคิล"},
    {"tr_TR", 8, "Geçerli simge etiketi:", "Uygula", "Geri Dönüşüm Kutusu'nu\nyeniden adlandırır"},
    {"uk_UA", 8, "Поточний підпис значка:", "Застосувати", "Перейменовує кошик"},
    {"zh_CN", 9, "当前图标名称：", "应用", "回收站重命名工具"},
    {"zh_TW", 9, "目前圖示名稱：", "套用", "資源回收筒重新命名工具"},
};

static void CheckText(HWND hDlg, int id, const char *want)
{
    WCHAR wide[128];
    char text[384];
    SendDlgItemMessageW(hDlg, id, WM_GETTEXT, 128, (LPARAM)wide);
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, NULL, NULL);
    CHECK(strcmp(text, want) == 0, "control %d reads [%s], not [%s]", id, text, want);
}

/* Mirrored on screen where the language reads from the right: the icon right of its text. */
static void CheckMirrored(HWND hDlg, int iconId, BOOL rtl)
{
    RECT icon, text;
    GetWindowRect(GetDlgItem(hDlg, iconId), &icon);
    GetWindowRect(GetDlgItem(hDlg, 103), &text);
    CHECK((icon.left > text.left) == rtl, "the icon is %s of its text",
          icon.left > text.left ? "right" : "left");
}

/* A name of the user's own too long for a label cannot be told: the editor opens on the stored
 * label, which Apply takes as it stands, removing that name. */
static void TestShownNameUnknown(void)
{
    PROCESS_INFORMATION pi;
    HWND hEditor, hAbout;
    RegValue user;

    BeginCase("the name shown unknown: the editor opens on the stored label, which Apply stores again");
    SeedBin("Trash", FALSE);
    SeedUserName(LABEL_48 "123456789012");
    CHECK(StartMorvane("morvane.exe", &pi), "cannot start morvane.exe");
    if ((hEditor = WaitForWindow(pi.dwProcessId, "Morvane", NULL, 10000)) != NULL) {
        CheckText(hEditor, 1000, "Trash");
        CHECK(IsItemEnabled(hEditor, IDOK), "Apply is not available for the stored label");
        Click(hEditor, IDOK);
        if ((hAbout = WaitForWindow(pi.dwProcessId, "", hEditor, 10000)) != NULL)
            Click(hAbout, IDCANCEL);
    }
    CHECK(WaitMorvane(&pi, 10000) == 0, "exit code is not 0");
    ReadDefault(HKEY_CURRENT_USER, USER_KEY, &user);
    CHECK(!user.exists, "the user's own name still hides the label");
}

static void TestLanguage(const char *lang)
{
    const Language *l = Languages;
    PROCESS_INFORMATION pi;
    HWND hEditor, hAbout;
    char about[256], name[32];
    BOOL rtl;

    while (l < Languages + sizeof Languages / sizeof Languages[0] && strcmp(l->lang, lang) != 0)
        ++l;
    BeginCase(lang);
    CHECK(l < Languages + sizeof Languages / sizeof Languages[0], "no texts for %s", lang);
    if (l == Languages + sizeof Languages / sizeof Languages[0] ||
        (hEditor = OpenEditor("Trash", TRUE, &pi)) == NULL)
        return;
    rtl = strstr(l->label, "\u200f") != NULL;
    CheckText(hEditor, 103, l->label);
    CheckText(hEditor, IDOK, l->apply);
    CheckTextsFit(hEditor, "MS Shell Dlg", l->points, 110);
    CheckMirrored(hEditor, 101, rtl);
    CheckAccessibleName(hEditor);
    snprintf(name, sizeof name, "editor-%s", lang);
    Screenshot(hEditor, name);
    SetEdit(hEditor, "Bin");
    Click(hEditor, IDOK);
    hAbout = WaitForWindow(pi.dwProcessId, "", hEditor, 10000);
    CHECK(hAbout != NULL, "no About box after Apply");
    if (hAbout != NULL) {
        snprintf(about, sizeof about, "Morvane " PROJECT_VERSION_TEXT "\n%s", l->about);
        CheckText(hAbout, 103, about);
        CheckTextsFit(hAbout, "MS Shell Dlg", l->points, 110);
        CheckMirrored(hAbout, 102, rtl);
        CheckCovers(hAbout, hEditor);
        Click(hAbout, IDCANCEL);
    }
    CHECK(WaitMorvane(&pi, 10000) == 0, "exit code is not 0");
}

/* The luminance (0 to 255) of a window's pixel on screen, at x,y of its client area. */
static int Luminance(HWND hwnd, int x, int y)
{
    POINT pt = {x, y};
    HDC hdc = GetDC(NULL);
    COLORREF c;
    ClientToScreen(hwnd, &pt);
    c = GetPixel(hdc, pt.x, pt.y);
    ReleaseDC(NULL, hdc);
    return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000;
}

/* Polls until a dialog looks dark, its background and label's background dark and the label's
 * text light somewhere along its first line, or light, its background bright; then checks it. */
static void CheckLook(HWND hDlg, BOOL dark, const char *what)
{
    HWND hLabel = GetDlgItem(hDlg, 103);
    DWORD start = GetTickCount();
    int back, labelBack, text, x;
    RECT rc;
    do {
        GetClientRect(hLabel, &rc);
        back = Luminance(hDlg, 2, 2);
        labelBack = Luminance(hLabel, rc.right - 1, 0);
        for (x = text = 0; x < rc.right; ++x)
            text = max(text, Luminance(hLabel, x, 6));
    } while ((dark ? back > 60 || labelBack > 60 || text < 200 : back < 180) &&
             GetTickCount() - start < 5000 && (Sleep(100), TRUE));
    CHECK(dark ? back <= 60 && labelBack <= 60 && text >= 200 : back >= 180,
          "%s is not %s: background %d, the label's %d, its text %d", what, dark ? "dark" : "light", back,
          labelBack, text);
}

/* Windows' app mode, as Settings stores it and tells the running programs: none, light or dark. */
static void SetAppMode(int appsUseLightTheme)
{
    static const char key[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    DWORD light = (DWORD)appsUseLightTheme;
    if (appsUseLightTheme < 0)
        RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "AppsUseLightTheme");
    else
        RegSetKeyValueA(HKEY_CURRENT_USER, key, "AppsUseLightTheme", REG_DWORD, &light, sizeof light);
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, (LPARAM)L"ImmersiveColorSet", SMTO_ABORTIFHUNG,
                        5000, NULL);
}

/* The dialogs dark when Windows is dark, following a switch while open; light otherwise, and
 * then DWM is not asked for a dark title bar. Wine's DWM call is a stub that says it was asked. */
static void TestAppMode(int appsUseLightTheme)
{
    BOOL dark = appsUseLightTheme == 0, asked = FALSE;
    char log[MAX_PATH], line[1024];
    HWND hEditor, hAbout = NULL;
    FILE *f;

    BeginCase(dark ? "dark app mode: dark, also after a switch while open" : "no or light app mode: light");
    SeedBin("Trash", TRUE);
    SetAppMode(appsUseLightTheme);
    CHECK(StartMorvaneTraced("-all,fixme+dwmapi", "morvane.exe", "dwmapi.log", log, sizeof log),
          "cannot start morvane.exe");
    if ((hEditor = WaitForWindow(0, "Morvane", NULL, 15000)) != NULL) {
        CheckLook(hEditor, dark, "the editor");
        if (dark) {
            Screenshot(hEditor, "editor-dark");
            SetAppMode(1);
            CheckLook(hEditor, FALSE, "the editor switched to light");
            SetAppMode(0);
            CheckLook(hEditor, TRUE, "the editor switched back to dark");
        }
        SetEdit(hEditor, "Bin");
        Click(hEditor, IDOK);
        if ((hAbout = WaitForWindow(0, "", hEditor, 10000)) != NULL) {
            CheckLook(hAbout, dark, "the About box");
            Click(hAbout, IDCANCEL);
        }
    }
    CHECK(hAbout != NULL && WaitShell(15000) == 0, "the editor did not open, apply and end");
    SetAppMode(-1);
    for (ToDosPath(log, line, sizeof line), f = fopen(line, "rb"); f != NULL && fgets(line, sizeof line, f);)
        asked |= strstr(line, "DwmSetWindowAttribute") != NULL && strstr(line, ", 14, ") != NULL;
    if (f != NULL)
        fclose(f);
    CHECK(asked == dark, "DWM was %sasked for the dark title bar (attribute 20)", asked ? "" : "not ");
}

/* A dialog at the prefix's DPI: per-monitor aware, at that DPI, its icon 32 pixels at 96 DPI
 * and scaled, the size the icon control takes (seen from this thread, which is per-monitor
 * aware meanwhile). */
static void CheckDpi(HWND hDlg, int iconId, UINT dpi)
{
    int awareness = GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(hDlg));
    int cxIcon = MulDiv(32, (int)dpi, 96);
    RECT rc = {0, 0, 0, 0};

    CHECK(awareness == DPI_AWARENESS_PER_MONITOR_AWARE, "DPI awareness %d, not per monitor (2)", awareness);
    CHECK(GetDpiForWindow(hDlg) == dpi, "at %u DPI, not %u", GetDpiForWindow(hDlg), dpi);
    GetClientRect(GetDlgItem(hDlg, iconId), &rc);
    CHECK(rc.right == cxIcon && rc.bottom == cxIcon, "icon %d is %ldx%ld pixels, not %d", iconId, rc.right,
          rc.bottom, cxIcon);
}

/* Like Windows, Wine 10 draws a program that is not DPI-aware at 96 DPI and stretches it,
 * once DpiScalingVer is set, as the fixture sets it with the prefix's DPI. */
static void TestDpi(UINT dpiWanted)
{
    const char *(CDECL * pfnWineVersion)(void) = (const char *(CDECL *)(void))(void (*)(void))GetProcAddress(
        GetModuleHandleA("ntdll.dll"), "wine_get_version");
    const char *wine = pfnWineVersion ? pfnWineVersion() : NULL;
    PROCESS_INFORMATION pi;
    HWND hEditor, hAbout;
    char name[32];

    BeginCase(
        "at the prefix's DPI, with unaware programs stretched, both dialogs are per-monitor aware at it");
    if (wine != NULL && atoi(wine) < 10) {
        Skip("Wine %s draws every program as DPI-aware and stretches none, so awareness shows nothing", wine);
        return;
    }
    if ((hEditor = OpenEditor("Trash", TRUE, &pi)) == NULL)
        return;
    SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    CheckDpi(hEditor, 101, dpiWanted);
    snprintf(name, sizeof name, "editor-%u", dpiWanted * 100 / 96); /* editor-150 at 144 DPI */
    Screenshot(hEditor, name);
    SetEdit(hEditor, "Bin");
    Click(hEditor, IDOK);
    hAbout = WaitForWindow(pi.dwProcessId, "", hEditor, 10000);
    CHECK(hAbout != NULL, "no About box after Apply");
    if (hAbout != NULL) {
        CheckDpi(hAbout, 102, dpiWanted);
        Click(hAbout, IDCANCEL);
    }
    CHECK(WaitMorvane(&pi, 10000) == 0, "exit code is not 0");
}

int main(int argc, char **argv)
{
    size_t i;

    InitHarness(argc, argv, "SCREENSHOT_DIR [--dpi=N|--lang=LL_CC]");
    CoInitialize(NULL);
    if (strncmp(Arg(1), "--dpi=", 6) == 0) {
        TestDpi((UINT)atoi(Arg(1) + 6));
        return EndTests();
    }
    if (strncmp(Arg(1), "--lang=", 7) == 0) {
        TestLanguage(Arg(1) + 7);
        return EndTests();
    }
    TestEditorOpens();
    TestOpensOnShownName();
    TestShownNameUnknown();
    TestApplyFollowsEdits();
    TestApply();
    for (i = 0; i < sizeof Leaves / sizeof Leaves[0]; ++i)
        TestLeave(&Leaves[i]);
    for (i = 0; i < sizeof WriteErrors / sizeof WriteErrors[0]; ++i)
        TestWriteError(&WriteErrors[i]);
    for (i = 0; i < sizeof Elevations / sizeof Elevations[0]; ++i)
        TestElevation(&Elevations[i]);
    TestKeystrokes();
    for (i = 0; i < 3; ++i)
        TestAppMode((int)i - 1); /* AppsUseLightTheme none, dark, light */
    return EndTests();
}
