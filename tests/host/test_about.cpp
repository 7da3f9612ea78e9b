// About box: asks for the foreground on init and paint; only id 2 ends it. Its icon is
// loaded at the size of the box's DPI, and again when that changes.

#include "app/app.h"
#include "casename.h"
#include "fakewin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct AboutMessage {
    const char *name;
    UINT uMsg;
    WPARAM wParam;
    INT_PTR result;
    std::vector<std::string> calls;
    UINT windowDpi = 96;  // 0: no GetDpiForWindow, before Windows 10 1607
};
PRINT_CASE_NAME(AboutMessage)

static const AboutMessage AboutMessages[] = {
    {"init takes focus then foreground",
     WM_INITDIALOG,
     0,
     FALSE,
     {"LoadImageA 102 32x32", "SetFocus About", "SetForegroundWindow About"}},
    {"init at 150 % loads the 48-pixel icon",
     WM_INITDIALOG,
     0,
     FALSE,
     {"LoadImageA 102 48x48", "SetFocus About", "SetForegroundWindow About"},
     144},
    {"init before Windows 10 takes the system's icon size",
     WM_INITDIALOG,
     0,
     FALSE,
     {"LoadImageA 102 40x40", "SetFocus About", "SetForegroundWindow About"},
     0},
    {"a move to 200 % replaces the icon, left for the dialog manager to scale",
     WM_DPICHANGED,
     MAKEWPARAM(192, 192),
     FALSE,
     {"LoadImageA 102 64x64", "DestroyIcon 32"}},
    {"paint asks for the foreground", WM_PAINT, 0, FALSE, {"SetForegroundWindow About"}},
    {"OK Enter and Esc end it", WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), TRUE, {"EndDialog About 0"}},
    {"id 2 with another code ends it", WM_COMMAND, MAKEWPARAM(IDCANCEL, 1), TRUE, {"EndDialog About 0"}},
    {"IDOK does not end it", WM_COMMAND, MAKEWPARAM(IDOK, 0), FALSE, {}},
    {"other control does nothing", WM_COMMAND, MAKEWPARAM(103, 0), FALSE, {}},
    {"other message does nothing", 0x0010, 0, FALSE, {}},
};

class About : public testing::TestWithParam<AboutMessage> {};

TEST_P(About, HandlesTheMessage)
{
    const AboutMessage &m = GetParam();
    Fake.Reset();
    Fake.windowDpi = m.windowDpi;
    Fake.systemIconSize = 40;  // a system at 125 %
    FakeWindow about;
    about.templateName = "About";
    if (m.uMsg == WM_DPICHANGED) {  // the box shows its own icon already
        AboutDlgProc(reinterpret_cast<HWND>(&about), WM_INITDIALOG, 0, 0);
        Fake.log.clear();
    }

    EXPECT_EQ(AboutDlgProc(reinterpret_cast<HWND>(&about), m.uMsg, m.wParam, 0), m.result);
    // The look of the app mode is asked of the registry, the dark mode's own tests' concern.
    std::vector<std::string> calls;
    for (const std::string &line : Fake.log)
        if (line.rfind("Reg", 0) != 0)
            calls.push_back(line);
    EXPECT_EQ(calls, m.calls);
    AboutDlgProc(reinterpret_cast<HWND>(&about), WM_DESTROY, 0, 0);
    EXPECT_EQ(Fake.liveIcons, 0);
}

INSTANTIATE_TEST_SUITE_P(Messages, About, testing::ValuesIn(AboutMessages), CaseName());
