// WinMain: the command-line rename with its exit codes, and the interactive start-up.

#include "app/app.h"
#include "app/state.h"
#include "casename.h"
#include "fakewin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

static int RunWith(const std::string &tail)
{
    std::vector<char> line(tail.begin(), tail.end());
    line.push_back('\0');
    return WinMain(GetModuleHandleA(nullptr), nullptr, line.data(), SW_SHOWDEFAULT);
}

struct TailRun {
    const char *name;
    const char *stored;  // the stored label; nullptr for a missing label key
    std::string tail;
    int exitCode;
    bool written;  // whether the label value was written (always with the tail)
};
PRINT_CASE_NAME(TailRun)

static const TailRun TailRuns[] = {
    {"tail equal to the label", "Trash", "Trash", 0, false},
    {"different tail", "Trash", "Bin", 0, true},
    {"tail of 48 bytes", "Trash", std::string(48, 'x'), 0, true},
    {"tail of 49 bytes is refused", "Trash", std::string(49, 'x'), 2, false},
    {"missing label key is created", nullptr, "Bin", 0, true},
    {"unreadable 49-byte label is replaced", "0123456789012345678901234567890123456789012345678", "Bin", 0,
     true},
    {"marker as tail while the label is unreadable", nullptr, "NOT_FOUND", 0, false},
    {"marker text as tail over a readable label is stored", "Trash", "NOT_FOUND", 0, true},
};

class CommandLineRun : public testing::TestWithParam<TailRun> {
  protected:
    void SetUp() override
    {
        Fake.Reset();
        Fake.SetDefault(HKEY_CLASSES_ROOT, ICON_KEY, REG_EXPAND_SZ, std::string("x.dll,-1", 9));
    }
};

TEST_P(CommandLineRun, StoresTheTailOnlyWhenItDiffers)
{
    const TailRun &r = GetParam();
    if (r.stored != nullptr)
        Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, r.stored);
    const FakeValue *before = Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY);
    std::string labelBefore = before ? before->data : "(none)";

    EXPECT_EQ(RunWith(r.tail), r.exitCode);

    const FakeValue *after = Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY);
    if (r.written) {
        ASSERT_NE(after, nullptr);
        std::string expected = r.tail;
        expected.resize(49, '\0');
        EXPECT_EQ(after->data, expected);
        EXPECT_EQ(Fake.Calls("SHChangeNotify").size(), 2u);
    } else {
        EXPECT_EQ(after ? after->data : "(none)", labelBefore);
        EXPECT_TRUE(Fake.Calls("RegSetValueExA").empty());
        EXPECT_TRUE(Fake.Calls("SHChangeNotify").empty());
    }
    EXPECT_TRUE(Fake.Calls("MessageBoxA").empty());
    EXPECT_TRUE(Fake.Calls("DialogBoxParamA").empty());
    EXPECT_TRUE(Fake.Calls("PlaySoundA").empty());
    EXPECT_TRUE(Fake.Calls("LoadLibraryA").empty()) << "a rename loads no sound library";
}

INSTANTIATE_TEST_SUITE_P(Tails, CommandLineRun, testing::ValuesIn(TailRuns), CaseName());

// A label that is not stored, or stays hidden behind another name, exits with 1.
PRINT_CASE_NAME(RenameFailure)

class CommandLineRunFailure : public testing::TestWithParam<RenameFailure> {};

TEST_P(CommandLineRunFailure, ExitsWithOne)
{
    Fake.Reset();
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Trash");
    Fake.SetNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, "@shell32.dll,-8964");
    Fake.SetDefault(HKEY_CURRENT_USER, USER_KEY, "Mine");
    Fake.failStep = GetParam().step;
    Fake.failKey = GetParam().key;

    EXPECT_EQ(RunWith("Bin"), 1);
    EXPECT_TRUE(Fake.Calls("MessageBoxA").empty());
    EXPECT_EQ(Fake.Calls("SHChangeNotify").size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Steps, CommandLineRunFailure, testing::ValuesIn(RenameFailures), CaseName());

// An empty tail runs the editor, or shows the start-up error when the label is unreadable.
struct StartUp {
    const char *name;
    const char *stored;
    bool editor;
};
PRINT_CASE_NAME(StartUp)

static const StartUp StartUps[] = {
    {"readable label opens the editor", "Trash", true},
    {"empty label opens the editor", "", true},
    {"missing label key", nullptr, false},
    {"label stored as the marker text", "NOT_FOUND", false},
    {"label of 49 bytes", "0123456789012345678901234567890123456789012345678", false},
};

class InteractiveStart : public testing::TestWithParam<StartUp> {
  protected:
    void SetUp() override { Fake.Reset(); }
};

TEST_P(InteractiveStart, ChoosesEditorOrErrorBox)
{
    const StartUp &s = GetParam();
    if (s.stored != nullptr)
        Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, s.stored);
    Fake.users["MyDB"] = [](HWND hDlg) {
        EXPECT_EQ(FakeControl(hDlg, 1000).text, std::string(CurrentLabel));
        FakeCommand(hDlg, IDCANCEL);
    };

    EXPECT_EQ(RunWith(""), 0);

    // The label is read once: the text checked is the text the editor shows.
    EXPECT_EQ(Fake.Calls("RegQueryValueExA " BIN_KEY).size(), s.stored ? 1u : 0u);
    if (s.editor) {
        EXPECT_EQ(Fake.Calls("DialogBoxParamA"),
                  std::vector<std::string>{"DialogBoxParamA MyDB program no owner"});
        EXPECT_EQ(std::string(CurrentLabel), s.stored);
        EXPECT_TRUE(Fake.Calls("MessageBoxA").empty());
    } else {
        EXPECT_EQ(
            Fake.Calls("MessageBoxA"),
            std::vector<std::string>{
                "MessageBoxA no owner|Application Error|Error reading system registry entry.|0x00000010"});
        EXPECT_TRUE(Fake.Calls("DialogBoxParamA").empty());
    }
    EXPECT_TRUE(Fake.Calls("RegSetValueExA").empty());
}

INSTANTIATE_TEST_SUITE_P(Labels, InteractiveStart, testing::ValuesIn(StartUps), CaseName());
