// About box: asks for the foreground on init and paint; only id 2 ends it.

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
};
PRINT_CASE_NAME(AboutMessage)

static const AboutMessage AboutMessages[] = {
    {"init takes focus then foreground",
     WM_INITDIALOG,
     0,
     FALSE,
     {"LoadImageA 102 32x32", "SetFocus About", "SetForegroundWindow About"}},
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
    FakeWindow about;
    about.templateName = "About";

    EXPECT_EQ(AboutDlgProc(reinterpret_cast<HWND>(&about), m.uMsg, m.wParam, 0), m.result);
    EXPECT_EQ(Fake.log, m.calls);
    AboutDlgProc(reinterpret_cast<HWND>(&about), WM_DESTROY, 0, 0);
    EXPECT_EQ(Fake.liveIcons, 0);
}

INSTANTIATE_TEST_SUITE_P(Messages, About, testing::ValuesIn(AboutMessages), CaseName());
