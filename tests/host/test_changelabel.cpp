// Label change: stored bytes, icon write-back, notifications, and failures that do not stop it.

#include "app/state.h"
#include "casename.h"
#include "fakewin.h"
#include "shellstore/changelabel.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The names the shell shows before the label: the class key's LocalizedString and the
// current user's own name, in a key that also holds the user's icons.
static void ArrangeHidingNames(void)
{
    Fake.SetNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, SYSTEM_NAME);
    Fake.SetDefault(HKEY_CURRENT_USER, USER_KEY, "Mine");
    Fake.SetNamed(HKEY_CURRENT_USER, USER_KEY "\\DefaultIcon", "full", "x.dll,-54");
}

TEST_F(ChangeLabel, StoresLabelRewritesIconAlikeAndNotifiesInOrder)
{
    ArrangeHidingNames();

    EXPECT_TRUE(ChangeBinLabel("Bin"));

    const FakeValue *label = Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY);
    EXPECT_EQ(label->type, (DWORD)REG_SZ);
    EXPECT_EQ(label->data, Padded("Bin", 49));
    const FakeValue *icon = Fake.Default(HKEY_CLASSES_ROOT, ICON_KEY);
    EXPECT_EQ(icon->type, (DWORD)REG_EXPAND_SZ);
    EXPECT_EQ(icon->data, Padded(IconText, 256));
    EXPECT_EQ(std::string(IconPath), IconText);

    // The icon is read before the label is written and written back after it, the names
    // that hide the label go in between, and the shell hears of it last.
    std::vector<std::string> order;
    for (const std::string &line : Fake.log)
        if (line.rfind("RegQueryValueExA", 0) == 0 || line.rfind("RegSetValueExA", 0) == 0 ||
            line.rfind("RegDeleteValueA", 0) == 0 || line.rfind("SHChangeNotify", 0) == 0)
            order.push_back(line);
    EXPECT_EQ(order, (std::vector<std::string>{
                         "RegQueryValueExA " ICON_KEY " []",
                         "RegSetValueExA " BIN_KEY " [] type 1 cb 49",
                         "RegDeleteValueA " BIN_KEY " [" LOCALIZED "]",
                         "RegDeleteValueA " USER_KEY " []",
                         "RegSetValueExA " ICON_KEY " [] type 2 cb 256",
                         BothNotifications[0],
                         BothNotifications[1],
                     }));
    EXPECT_EQ(Fake.Calls("ILFree"), std::vector<std::string>{"ILFree desktop"});
    EXPECT_EQ(Fake.openKeys, 0);
}

// Where Windows guards the class key, the restore privilege is enabled for the writes alone (the
// label, LocalizedString's removal, the icon), made through backup-restore opens, and the label
// is read back once it is put back.
TEST_F(ChangeLabel, GuardedKeyIsWrittenWithTheRestorePrivilege)
{
    ArrangeHidingNames();
    Fake.keys[{HKEY_CLASSES_ROOT, BIN_KEY}].readOnly = true;
    Fake.holdsRestore = true;

    EXPECT_EQ(RenameBin("Bin", RENAME_ALL_USERS), BIN_RENAMED);

    std::vector<std::string> order;
    for (auto it = std::find(Fake.log.begin(), Fake.log.end(), "BeginRestoreWrite"); it != Fake.log.end();
         ++it)
        if (it->find("RestoreWrite") != std::string::npos || it->rfind("RegCreate", 0) == 0 ||
            it->rfind("RegSet", 0) == 0 || *it == "RegQueryValueExA " BIN_KEY " []")
            order.push_back(*it);
    EXPECT_EQ(order,
              (std::vector<std::string>{"BeginRestoreWrite", "RegCreateKeyExA " BIN_KEY " sam 0x0100 restore",
                                        "RegSetValueExA " BIN_KEY " [] type 1 cb 49",
                                        "RegCreateKeyExA " BIN_KEY " sam 0x0100 restore",
                                        "RegCreateKeyExA " ICON_KEY " sam 0x0100 restore",
                                        "RegSetValueExA " ICON_KEY " [] type 2 cb 256", "EndRestoreWrite",
                                        "RegQueryValueExA " BIN_KEY " []"}));
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
    ArrangeHidingNames();
    Fake.failStep = GetParam().step;
    Fake.failKey = BIN_KEY;

    EXPECT_FALSE(ChangeBinLabel("Bin"));

    // Without the new label, removing the names would only show an older one.
    EXPECT_NE(Fake.Named(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED), nullptr);
    EXPECT_NE(Fake.Default(HKEY_CURRENT_USER, USER_KEY), nullptr);

    EXPECT_EQ(Fake.Calls("RegSetValueExA " ICON_KEY),
              std::vector<std::string>{"RegSetValueExA " ICON_KEY " [] type 2 cb 256"});
    EXPECT_EQ(Fake.Calls("SHChangeNotify"), BothNotifications);
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, ChangeLabelFailure, testing::ValuesIn(LabelFailures), CaseName());

// Once the label is stored, no name the shell prefers to it is left; none is added, no key
// is created, and what else the keys hold stays.
struct HidingName {
    const char *name;
    bool localized;  // the class key holds LocalizedString
    bool userKey;    // the user has a key for the Recycle Bin, with icons in it
    bool userName;   // and a name of their own in it
};
PRINT_CASE_NAME(HidingName)

static const HidingName HidingNames[] = {
    {"class key without LocalizedString and no user key", false, false, false},
    {"LocalizedString only", true, false, false},
    {"user key without a name", false, true, false},
    {"LocalizedString and the user's own name", true, true, true},
};

class ChangeLabelHidingName : public ChangeLabel, public testing::WithParamInterface<HidingName> {};

TEST_P(ChangeLabelHidingName, NoneIsLeftAndNoneIsAdded)
{
    const HidingName &c = GetParam();
    Fake.SetNamed(HKEY_CLASSES_ROOT, BIN_KEY, "InfoTip", "@shell32.dll,-22915");
    if (c.localized)
        Fake.SetNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, SYSTEM_NAME);
    if (c.userKey) {
        Fake.keys[{HKEY_CURRENT_USER, USER_KEY}];
        Fake.SetNamed(HKEY_CURRENT_USER, USER_KEY "\\DefaultIcon", "full", "x.dll,-54");
    }
    if (c.userName)
        Fake.SetDefault(HKEY_CURRENT_USER, USER_KEY, "Mine");

    EXPECT_TRUE(ChangeBinLabel("Bin"));

    EXPECT_EQ(Fake.Named(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED), nullptr);
    const FakeKey &classKey = Fake.keys[{HKEY_CLASSES_ROOT, BIN_KEY}];
    EXPECT_EQ(classKey.named.size(), 1u) << "InfoTip stays, nothing is added";
    EXPECT_EQ(Fake.Default(HKEY_CURRENT_USER, USER_KEY), nullptr);
    EXPECT_EQ(Fake.HasKey(HKEY_CURRENT_USER, USER_KEY), c.userKey);
    EXPECT_EQ(Fake.Named(HKEY_CURRENT_USER, USER_KEY "\\DefaultIcon", "full") != nullptr, c.userKey);
    // The writes are those of a key that never had the names.
    EXPECT_EQ(Fake.Calls("RegSetValueExA"), (std::vector<std::string>{
                                                "RegSetValueExA " BIN_KEY " [] type 1 cb 49",
                                                "RegSetValueExA " ICON_KEY " [] type 2 cb 256",
                                            }));
    EXPECT_EQ(Fake.Calls("SHChangeNotify"), BothNotifications);
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, ChangeLabelHidingName, testing::ValuesIn(HidingNames), CaseName());

// A name that stays in front of the stored label is a failure; the other one still goes,
// and the icon write-back and the notifications still run.
struct ShownFailure {
    const char *name;
    FakeStep step;
    const char *key;
    bool userKeyReadOnly;
    bool userName;
    bool shown;  // what the change reports
    bool localizedGone, userNameGone;
};
PRINT_CASE_NAME(ShownFailure)

static const ShownFailure ShownFailures[] = {
    {"LocalizedString delete fails", FAIL_DELETE, BIN_KEY, false, true, false, false, true},
    {"class key cannot be opened to remove it", FAIL_OPEN, BIN_KEY, false, true, false, false, true},
    {"user's name delete fails", FAIL_DELETE, USER_KEY, false, true, false, true, false},
    {"user key cannot be opened", FAIL_OPEN, USER_KEY, false, true, false, true, false},
    {"user key close fails after the delete", FAIL_CLOSE, USER_KEY, false, true, false, true, true},
    {"read-only user key holding a name", FAIL_NONE, "", true, true, false, true, false},
    {"read-only user key without a name hides nothing", FAIL_NONE, "", true, false, true, true, true},
};

class ChangeLabelShownFailure : public ChangeLabel, public testing::WithParamInterface<ShownFailure> {};

TEST_P(ChangeLabelShownFailure, IsReportedAndTheRestStillRuns)
{
    const ShownFailure &c = GetParam();
    ArrangeHidingNames();
    if (!c.userName)
        Fake.keys[{HKEY_CURRENT_USER, USER_KEY}].hasDefault = false;
    Fake.keys[{HKEY_CURRENT_USER, USER_KEY}].readOnly = c.userKeyReadOnly;
    Fake.failStep = c.step;
    Fake.failKey = c.key;

    EXPECT_EQ(ChangeBinLabel("Bin"), c.shown);

    EXPECT_EQ(Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY)->data, Padded("Bin", 49));
    EXPECT_EQ(Fake.Named(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED) == nullptr, c.localizedGone);
    EXPECT_EQ(Fake.Default(HKEY_CURRENT_USER, USER_KEY) == nullptr, c.userNameGone);
    EXPECT_EQ(Fake.Default(HKEY_CLASSES_ROOT, ICON_KEY)->data, Padded(IconText, 256));
    EXPECT_EQ(Fake.Calls("SHChangeNotify"), BothNotifications);
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, ChangeLabelShownFailure, testing::ValuesIn(ShownFailures), CaseName());

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
