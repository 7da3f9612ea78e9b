// Dark dialogs: only with the dark app mode, high contrast off, and a DWM that takes the dark
// title bar; light ones are left exactly as the platform makes them.

#include "app/app.h"
#include "casename.h"
#include "fakewin.h"

#include <gtest/gtest.h>

struct DarkCase {
    const char *name;
    const char *appsUseLightTheme;  // the DWORD's low byte; nullptr: no value
    bool highContrast;
    int dwmDarkAttribute;         // 0: DWM takes none, as before Windows 10 1809
    bool toHighContrast = false;  // Windows then turns high contrast on, else the light app mode
    bool inactive = false;        // another window is active meanwhile
};
PRINT_CASE_NAME(DarkCase)

static const DarkCase DarkCases[] = {
    {"no value: light", nullptr, false, 20},
    {"light app mode", "\1", false, 20},
    {"dark app mode", "\0", false, 20},
    {"dark before 20H1 takes attribute 19", "\0", false, 19},
    {"high contrast stays light", "\0", true, 20},
    {"before 1809 stays light", "\0", false, 0},
    {"high contrast turned on while dark puts the platform's colours back", "\0", false, 20, true},
    {"an inactive dialog's title bar is drawn inactive again", "\0", false, 20, false, true},
};

class DarkMode : public testing::TestWithParam<DarkCase> {};

TEST_P(DarkMode, PaintsDarkOnlyWhenWindowsIsDarkAndFollowsASwitch)
{
    const DarkCase &c = GetParam();
    Fake.Reset();
    std::map<std::string, FakeValue> &values =
        Fake.keys[{HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize"}]
            .named;
    bool dark = c.appsUseLightTheme != nullptr && c.appsUseLightTheme[0] == 0 && !c.highContrast &&
                c.dwmDarkAttribute != 0;
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Trash");
    if (c.appsUseLightTheme != nullptr)
        values["AppsUseLightTheme"] =
            FakeValue{REG_DWORD, std::string(c.appsUseLightTheme, 1) + std::string(3, '\0')};
    Fake.highContrast = c.highContrast;
    Fake.dwmDarkAttribute = c.dwmDarkAttribute;
    Fake.users["MyDB"] = [&](HWND hDlg) {
        Fake.activeWindow = c.inactive ? nullptr : hDlg;
        for (UINT uMsg : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT})
            EXPECT_EQ(EditorDlgProc(hDlg, uMsg, 0, 0) != 0, dark) << "message " << uMsg;
        // Windows turns light while the editor is open.
        Fake.highContrast = c.toHighContrast;
        if (!c.toHighContrast)
            values.clear();
        EditorDlgProc(hDlg, WM_SETTINGCHANGE, c.toHighContrast ? SPI_SETHIGHCONTRAST : 0,
                      c.toHighContrast ? 0 : (LPARAM) "ImmersiveColorSet");
        EXPECT_EQ(EditorDlgProc(hDlg, WM_CTLCOLORDLG, 0, 0), 0);
        FakeCommand(hDlg, IDCANCEL);
    };

    EXPECT_EQ(WinMain(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT), 0);

    // The title bar is asked dark, then light again; a light editor is left as it is.
    std::string bar = "DwmSetWindowAttribute MyDB " + std::to_string(c.dwmDarkAttribute);
    std::vector<std::string> asked = {bar + " 1", bar + " 0"};
    EXPECT_EQ(Fake.Calls("Dwm"), dark ? asked : std::vector<std::string>{});
    // Each switch draws the title bar inactive, then in the dialog's own state: the first, at
    // WM_INITDIALOG, before the dialog is shown and active.
    std::vector<std::string> toggles = {"WM_NCACTIVATE MyDB 0", "WM_NCACTIVATE MyDB 0",
                                        "WM_NCACTIVATE MyDB 0",
                                        c.inactive ? "WM_NCACTIVATE MyDB 0" : "WM_NCACTIVATE MyDB 1"};
    EXPECT_EQ(Fake.Calls("WM_NCACTIVATE"), dark ? toggles : std::vector<std::string>{});
    EXPECT_EQ(Fake.liveBrushes, 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, DarkMode, testing::ValuesIn(DarkCases), CaseName());
