// The dialogs' icons at the size of their DPI: loaded at init and on a DPI change, freed at the end.

#include "app/app.h"
#include "app/state.h"
#include "casename.h"
#include "fakewin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct DpiIcon {
    const char *name;
    DLGPROC proc;
    int iconId;
    UINT windowDpi;   // 0: no GetDpiForWindow, before Windows 10 1607
    UINT movedToDpi;  // a WM_DPICHANGED after init; 0: none
    std::vector<std::string> loads;
};
PRINT_CASE_NAME(DpiIcon)

static const DpiIcon DpiIcons[] = {
    {"editor at 100 %", EditorDlgProc, 101, 96, 0, {"LoadImageA 101 32x32"}},
    {"editor at 150 %", EditorDlgProc, 101, 144, 0, {"LoadImageA 101 48x48"}},
    {"About at 125 %", AboutDlgProc, 102, 120, 0, {"LoadImageA 102 40x40"}},
    {"before Windows 10, the system's icon size", AboutDlgProc, 102, 0, 0, {"LoadImageA 102 48x48"}},
    {"moved to a monitor at 200 %",
     EditorDlgProc,
     101,
     96,
     192,
     {"LoadImageA 101 32x32", "LoadImageA 101 64x64", "DestroyIcon 32"}},
};

class DialogIcon : public testing::TestWithParam<DpiIcon> {};

TEST_P(DialogIcon, FollowsTheDialogsDpi)
{
    const DpiIcon &d = GetParam();
    Fake.Reset();
    Fake.windowDpi = d.windowDpi;
    Fake.systemIconSize = 48;  // what a system at 150 % gives
    CopyText(CurrentLabel, sizeof CurrentLabel, "Trash");
    FakeWindow dialog;
    dialog.proc = d.proc;
    HWND hDlg = reinterpret_cast<HWND>(&dialog);

    d.proc(hDlg, WM_INITDIALOG, 0, 0);
    if (d.movedToDpi != 0) {
        EXPECT_EQ(d.proc(hDlg, WM_DPICHANGED, MAKEWPARAM(d.movedToDpi, d.movedToDpi), 0), FALSE)
            << "the dialog manager must still scale the dialog";
    }

    std::vector<std::string> loads;
    for (const std::string &line : Fake.log)
        if (line.rfind("LoadImageA", 0) == 0 || line.rfind("DestroyIcon", 0) == 0)
            loads.push_back(line);
    EXPECT_EQ(loads, d.loads);
    EXPECT_NE(FakeControl(hDlg, d.iconId).icon, nullptr);
    EXPECT_EQ(Fake.liveIcons, 1) << "only the icon shown is alive";
    d.proc(hDlg, WM_DESTROY, 0, 0);
    EXPECT_EQ(Fake.liveIcons, 0) << "the dialog's icon is freed with it";
}

INSTANTIATE_TEST_SUITE_P(Dpis, DialogIcon, testing::ValuesIn(DpiIcons), CaseName());
