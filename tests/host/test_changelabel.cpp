// Label change: stored bytes, icon write-back, notifications, and failures that do not stop it.

#include "app/state.h"
#include "casename.h"
#include "fakewin.h"
#include "shellstore/changelabel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

static const std::string IconText("%SystemRoot%\\System32\\imageres.dll,-55");

static const std::vector<std::string> BothNotifications = {
    "SHChangeNotify 0x08000000 0x3000 null null",
    "SHChangeNotify 0x00001000 0x0000 desktop null",
};

static std::string Padded(std::string text, size_t width)
{
    text.resize(width, '\0');
    return text;
}

class ChangeLabel : public testing::Test {
  protected:
    void SetUp() override
    {
        Fake.Reset();
        Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Trash");
        Fake.SetDefault(HKEY_CLASSES_ROOT, ICON_KEY, REG_EXPAND_SZ, IconText + '\0');
    }
};

TEST_F(ChangeLabel, StoresLabelRewritesIconAlikeAndNotifiesInOrder)
{
    EXPECT_TRUE(ChangeBinLabel("Bin"));

    const FakeValue *label = Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY);
    EXPECT_EQ(label->type, (DWORD)REG_SZ);
    EXPECT_EQ(label->data, Padded("Bin", 49));
    const FakeValue *icon = Fake.Default(HKEY_CLASSES_ROOT, ICON_KEY);
    EXPECT_EQ(icon->type, (DWORD)REG_EXPAND_SZ);
    EXPECT_EQ(icon->data, Padded(IconText, 256));
    EXPECT_EQ(std::string(IconPath), IconText);

    // The icon is read before the label is written and written back after it;
    // the shell hears of it last.
    std::vector<std::string> order;
    for (const std::string &line : Fake.log)
        if (line.rfind("RegQueryValueExA", 0) == 0 || line.rfind("RegSetValueExA", 0) == 0 ||
            line.rfind("SHChangeNotify", 0) == 0)
            order.push_back(line);
    EXPECT_EQ(order, (std::vector<std::string>{
                         "RegQueryValueExA " ICON_KEY " []",
                         "RegSetValueExA " BIN_KEY " [] type 1 cb 49",
                         "RegSetValueExA " ICON_KEY " [] type 2 cb 256",
                         BothNotifications[0],
                         BothNotifications[1],
                     }));
    EXPECT_EQ(Fake.Calls("ILFree"), std::vector<std::string>{"ILFree desktop"});
    EXPECT_EQ(Fake.openKeys, 0);
}

// A failing label write is reported, yet the icon write-back and notifications go on.
struct LabelFailure {
    const char *name;
    FakeStep step;
};
PRINT_CASE_NAME(LabelFailure)

static const LabelFailure LabelFailures[] = {
    {"create fails", FAIL_CREATE},
    {"set fails", FAIL_SET},
    {"close fails", FAIL_CLOSE},
};

class ChangeLabelFailure : public ChangeLabel, public testing::WithParamInterface<LabelFailure> {};

TEST_P(ChangeLabelFailure, IsReportedAndTheRestStillRuns)
{
    Fake.failStep = GetParam().step;
    Fake.failKey = BIN_KEY;

    EXPECT_FALSE(ChangeBinLabel("Bin"));

    EXPECT_EQ(Fake.Calls("RegSetValueExA " ICON_KEY),
              std::vector<std::string>{"RegSetValueExA " ICON_KEY " [] type 2 cb 256"});
    EXPECT_EQ(Fake.Calls("SHChangeNotify"), BothNotifications);
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, ChangeLabelFailure, testing::ValuesIn(LabelFailures), CaseName());

// An icon location that cannot be read is never written back, and the label still changes.
struct IconFailure {
    const char *name;
    void (*arrange)(void);
};
PRINT_CASE_NAME(IconFailure)

static const IconFailure IconFailures[] = {
    {"icon key missing", [] { Fake.RemoveKey(HKEY_CLASSES_ROOT, ICON_KEY); }},
    {"icon too long to read",
     [] { Fake.SetDefault(HKEY_CLASSES_ROOT, ICON_KEY, std::string(256, 'i').c_str()); }},
    {"icon query fails",
     [] {
         Fake.failStep = FAIL_QUERY;
         Fake.failKey = ICON_KEY;
     }},
    {"icon reads as the marker", [] { Fake.SetDefault(HKEY_CLASSES_ROOT, ICON_KEY, "NOT_FOUND"); }},
};

class ChangeLabelIconFailure : public ChangeLabel, public testing::WithParamInterface<IconFailure> {};

TEST_P(ChangeLabelIconFailure, SkipsTheWriteBack)
{
    GetParam().arrange();
    const FakeValue *before = Fake.Default(HKEY_CLASSES_ROOT, ICON_KEY);
    std::string iconBefore = before ? before->data : "(none)";

    EXPECT_TRUE(ChangeBinLabel("Bin"));

    EXPECT_EQ(std::string(IconPath), "NOT_FOUND");
    EXPECT_TRUE(Fake.Calls("RegCreateKeyExA " ICON_KEY).empty());
    const FakeValue *after = Fake.Default(HKEY_CLASSES_ROOT, ICON_KEY);
    EXPECT_EQ(after ? after->data : "(none)", iconBefore);
    EXPECT_EQ(Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY)->data, Padded("Bin", 49));
    EXPECT_EQ(Fake.Calls("SHChangeNotify"), BothNotifications);
}

INSTANTIATE_TEST_SUITE_P(Reads, ChangeLabelIconFailure, testing::ValuesIn(IconFailures), CaseName());

TEST_F(ChangeLabel, IconWriteFailureDoesNotUndoTheStoredLabel)
{
    Fake.failStep = FAIL_SET;
    Fake.failKey = ICON_KEY;

    EXPECT_TRUE(ChangeBinLabel("Bin"));
    EXPECT_EQ(Fake.Calls("SHChangeNotify"), BothNotifications);
}

TEST_F(ChangeLabel, WithoutTheDesktopOnlyTheAssociationChangeIsSent)
{
    Fake.desktopLookupFails = true;

    NotifyShell();

    EXPECT_EQ(Fake.Calls("SHChangeNotify"), std::vector<std::string>{BothNotifications[0]});
    EXPECT_TRUE(Fake.Calls("ILFree").empty());
}
