// The entry point and WinMain: the DLL search, the command-line rename with its exit codes,
// and the interactive start-up.

#include "app/app.h"
#include "app/state.h"
#include "casename.h"
#include "fakewin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Runs the program as the platform starts it, with this command line.
static int RunLine(const std::wstring &line)
{
    Fake.commandLine = line;
    return RunProgram();
}

static int RunWith(const std::string &tail)  // the tail in the ANSI code page
{
    return RunLine(L"morvane.exe " + FromAnsi(tail));
}

// The entry point restricts the DLL search before it reads its command line, with the
// call the platform has; without either call, the run goes on as before.
struct DllSearch {
    const char *name;
    bool hasSetDefault, setDefaultFails, hasSetDllDirectory;
    std::vector<std::string> firstCalls;  // before the command line is read
};
PRINT_CASE_NAME(DllSearch)

static const DllSearch DllSearches[] = {
    {"System32 only", true, false, true, {"SetDefaultDllDirectories 0x00000800"}},
    {"refused: the current directory leaves the search",
     true,
     true,
     true,
     {"SetDefaultDllDirectories 0x00000800", "SetDllDirectoryA []"}},
    {"before KB2533623: the current directory leaves the search",
     false,
     false,
     true,
     {"SetDllDirectoryA []"}},
    {"neither, as before XP SP1", false, false, false, {}},
};

class EntryPoint : public testing::TestWithParam<DllSearch> {};

TEST_P(EntryPoint, RestrictsTheDllSearchFirst)
{
    const DllSearch &d = GetParam();
    Fake.Reset();
    Fake.hasSetDefaultDllDirectories = d.hasSetDefault;
    Fake.setDefaultDllDirectoriesFails = d.setDefaultFails;
    Fake.hasSetDllDirectory = d.hasSetDllDirectory;
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Trash");

    EXPECT_EQ(RunLine(L"morvane.exe Bin"), 0);

    std::vector<std::string> expected = d.firstCalls;
    expected.push_back("GetCommandLineA");
    ASSERT_GE(Fake.log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(Fake.log.begin(), Fake.log.begin() + expected.size()), expected);
    EXPECT_EQ(std::string(Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY)->data.c_str()), "Bin");
}

INSTANTIATE_TEST_SUITE_P(Platforms, EntryPoint, testing::ValuesIn(DllSearches), CaseName());

// The names the shell shows before the label, where a case sets them.
static void ArrangeNames(const char *localized, const char *userName)
{
    if (localized != nullptr)
        Fake.SetNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, localized);
    if (userName != nullptr)
        Fake.SetDefault(HKEY_CURRENT_USER, USER_KEY, userName);
}

struct TailRun {
    const char *name;
    const char *stored;     // the stored label; nullptr for a missing label key
    const char *localized;  // LocalizedString of the class key; SYSTEM_NAME resolves to "Trash"
    const char *userName;   // the current user's own name
    std::string tail;
    int exitCode;
    bool written;  // whether the label value was written (always with the tail)
};
PRINT_CASE_NAME(TailRun)

static const TailRun TailRuns[] = {
    {"tail equal to the label", "Trash", nullptr, nullptr, "Trash", 0, false},
    {"different tail", "Trash", nullptr, nullptr, "Bin", 0, true},
    {"tail of 48 bytes", "Trash", nullptr, nullptr, std::string(48, 'x'), 0, true},
    {"tail of 49 bytes is refused", "Trash", SYSTEM_NAME, nullptr, std::string(49, 'x'), 2, false},
    {"missing label key is created", nullptr, nullptr, nullptr, "Bin", 0, true},
    {"unreadable 49-byte label is replaced", "0123456789012345678901234567890123456789012345678", nullptr,
     nullptr, "Bin", 0, true},
    {"marker as tail while the label is unreadable", nullptr, nullptr, nullptr, "NOT_FOUND", 0, false},
    {"marker as tail while the label is unreadable and LocalizedString is set", nullptr, SYSTEM_NAME, nullptr,
     "NOT_FOUND", 0, false},
    {"marker text as tail over a readable label is stored", "Trash", nullptr, nullptr, "NOT_FOUND", 0, true},
    // The tail is written unless it is both the stored label and the name the desktop shows.
    {"stored label hidden by LocalizedString is stored again", "Recycle Bin", SYSTEM_NAME, nullptr,
     "Recycle Bin", 0, true},
    {"tail stored and shown through LocalizedString", "Trash", SYSTEM_NAME, nullptr, "Trash", 0, false},
    {"stored label hidden by a plain LocalizedString", "Trash", "Corbeille", nullptr, "Trash", 0, true},
    {"tail shown, not the label, writes nothing", "Recycle Bin", SYSTEM_NAME, nullptr, "Trash", 0, false},
    {"stored label hidden by the user's own name", "Plain", SYSTEM_NAME, "Mine", "Plain", 0, true},
    {"tail stored and shown as the user's own name", "Plain", SYSTEM_NAME, "Plain", "Plain", 0, false},
    {"LocalizedString that cannot be resolved", "Trash", "@nowhere.dll,-1", nullptr, "Trash", 0, true},
};

class CommandLineRun : public testing::TestWithParam<TailRun> {
  protected:
    void SetUp() override
    {
        Fake.Reset();
        Fake.SetDefault(HKEY_CLASSES_ROOT, ICON_KEY, REG_EXPAND_SZ, std::string("x.dll,-1", 9));
    }
};

TEST_P(CommandLineRun, StoresTheTailUnlessItIsStoredAndShown)
{
    const TailRun &r = GetParam();
    if (r.stored != nullptr)
        Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, r.stored);
    ArrangeNames(r.localized, r.userName);
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
        EXPECT_TRUE(Fake.Calls("RegDeleteValueA").empty());
        EXPECT_TRUE(Fake.Calls("SHChangeNotify").empty());
    }
    // Once the tail is written, nothing the shell prefers is left to hide it.
    EXPECT_EQ(Fake.Named(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED) != nullptr, r.localized && !r.written);
    EXPECT_EQ(Fake.Default(HKEY_CURRENT_USER, USER_KEY) != nullptr, r.userName && !r.written);
    EXPECT_TRUE(Fake.Calls("MessageBoxA").empty());
    EXPECT_TRUE(Fake.Calls("DialogBoxParamA").empty());
    EXPECT_TRUE(Fake.Calls("PlaySoundA").empty());
    EXPECT_TRUE(Fake.Calls("LoadLibraryA").empty()) << "a rename loads no sound library";
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Tails, CommandLineRun, testing::ValuesIn(TailRuns), CaseName());

// A tail the ANSI code page cannot spell exactly exits with 3, one too long for a label
// with 2, and nothing is written; an exact one is stored as the code page spells it.
PRINT_CASE_NAME(SpellingCase)

class CommandLineSpelling : public testing::TestWithParam<SpellingCase> {};

TEST_P(CommandLineSpelling, StoresOnlyTheExactText)
{
    const SpellingCase &c = GetParam();
    Fake.Reset();
    Fake.acp = c.acp;
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Trash");
    std::string ansi = ToAnsi(c.text);
    std::string expected = c.exact ? ansi : "Trash";
    expected.resize(c.exact ? 49 : 6, '\0');

    EXPECT_EQ(RunLine(L"\"C:\\Tools\\morvane.exe\" " + c.text), ansi.size() > 48 ? 2 : c.exact ? 0 : 3);
    EXPECT_EQ(Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY)->data, expected);
}

INSTANTIATE_TEST_SUITE_P(CodePages, CommandLineSpelling, testing::ValuesIn(SpellingCases), CaseName());

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

// An empty tail runs the editor on the name the desktop shows, where it can be told and fits
// a label, else on the stored label; or it shows the start-up error when the label is unreadable.
struct StartUp {
    const char *name;
    const char *stored;
    const char *localized;
    const char *userName;
    const char *opensOn;  // the editor's first text; nullptr: the error box instead
};
PRINT_CASE_NAME(StartUp)

static const StartUp StartUps[] = {
    {"readable label opens the editor", "Trash", nullptr, nullptr, "Trash"},
    {"empty label opens the editor", "", nullptr, nullptr, ""},
    {"missing label key", nullptr, nullptr, nullptr, nullptr},
    {"missing label key while LocalizedString is set", nullptr, SYSTEM_NAME, nullptr, nullptr},
    {"label stored as the marker text", "NOT_FOUND", nullptr, nullptr, nullptr},
    {"label of 49 bytes", "0123456789012345678901234567890123456789012345678", SYSTEM_NAME, nullptr, nullptr},
    {"name resolved from LocalizedString", "Recycle Bin", SYSTEM_NAME, nullptr, "Trash"},
    {"plain LocalizedString", "Recycle Bin", "Corbeille", nullptr, "Corbeille"},
    {"the user's own name", "Recycle Bin", SYSTEM_NAME, "Mine", "Mine"},
    {"shown name too long for a label: the stored label", "Recycle Bin", SYSTEM_NAME,
     "0123456789012345678901234567890123456789012345678", "Recycle Bin"},
    {"unresolvable LocalizedString: the stored label", "Recycle Bin", "@nowhere.dll,-1", nullptr,
     "Recycle Bin"},
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
    ArrangeNames(s.localized, s.userName);
    std::string shown = "(no editor)";
    Fake.users["MyDB"] = [&shown](HWND hDlg) {
        shown = FakeText(hDlg, 1000);
        EXPECT_EQ(shown, std::string(CurrentLabel));
        FakeCommand(hDlg, IDCANCEL);
    };

    EXPECT_EQ(RunWith(""), 0);

    // The label is read once: the text checked is the text the editor falls back on.
    EXPECT_EQ(Fake.Calls("RegQueryValueExA " BIN_KEY " []").size(), s.stored || s.localized ? 1u : 0u);
    if (s.opensOn != nullptr) {
        EXPECT_EQ(Fake.Calls("DialogBoxParamA"),
                  std::vector<std::string>{"DialogBoxParamA MyDB program no owner"});
        EXPECT_EQ(shown, s.opensOn);
        EXPECT_TRUE(Fake.Calls("MessageBoxA").empty());
    } else {
        EXPECT_EQ(
            Fake.Calls("MessageBoxA"),
            std::vector<std::string>{
                "MessageBoxA no owner|Application Error|Error reading system registry entry.|0x00000010"});
        EXPECT_TRUE(Fake.Calls("DialogBoxParamA").empty());
    }
    EXPECT_TRUE(Fake.Calls("RegSetValueExA").empty());
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Labels, InteractiveStart, testing::ValuesIn(StartUps), CaseName());

// Elevation: only the editor of an administrator whose token is filtered, and who may not
// write the class key while the full token may (or that cannot be told), asks. It starts an
// elevated copy, owned by a window in front, waits for it and ends with 0; a declined prompt
// or a failed start opens the editor here.
struct Elevation {
    const char *name;
    TOKEN_ELEVATION_TYPE token;
    bool tokenQueryFails;
    bool keyReadOnly;
    DWORD shellExecuteError;
    const char *tail;
    bool asks, waits, editorHere;
    int exitCode;
    bool fullTokenCheckFails = false;  // whether an elevated copy could write the class key is unknown
    bool system = false;               // SYSTEM's run
    bool shellMissing = false;
};
PRINT_CASE_NAME(Elevation)

static const Elevation Elevations[] = {
    {"filtered token, key refused, prompt accepted", TokenElevationTypeLimited, false, true, 0, "", true,
     true, false, 0},
    {"filtered token, key refused, prompt declined", TokenElevationTypeLimited, false, true, ERROR_CANCELLED,
     "", true, false, true, 0},
    {"filtered token, key refused, copy cannot start", TokenElevationTypeLimited, false, true,
     ERROR_FILE_NOT_FOUND, "", true, false, true, 0},
    {"filtered token, key writable", TokenElevationTypeLimited, false, false, 0, "", false, false, true, 0},
    {"full token never asks", TokenElevationTypeFull, false, true, 0, "", false, false, true, 0},
    {"standard user or no UAC", TokenElevationTypeDefault, false, true, 0, "", false, false, true, 0},
    {"token type unknown, before Vista", TokenElevationTypeLimited, true, true, 0, "", false, false, true, 0},
    {"command line never asks", TokenElevationTypeLimited, false, true, 0, "Bin", false, false, false, 4},
    {"filtered token, key refused, the full token's right unknown", TokenElevationTypeLimited, false, true, 0,
     "", true, true, false, 0, true},
    {"SYSTEM's command line, refused, stores no name of its own", TokenElevationTypeDefault, false, true, 0,
     "Bin", false, false, false, 1, false, true},
    {"no SHELL32", TokenElevationTypeLimited, false, true, 0, "", false, false, true, 0, false, false, true},
};

class InteractiveElevation : public testing::TestWithParam<Elevation> {};

TEST_P(InteractiveElevation, AsksOnlyWhenTheEditorCouldNotStore)
{
    const Elevation &e = GetParam();
    Fake.Reset();
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Trash");
    Fake.keys[{HKEY_CLASSES_ROOT, BIN_KEY}].readOnly = e.keyReadOnly;
    Fake.tokenType = e.token;
    Fake.tokenQueryFails = e.tokenQueryFails;
    Fake.shellExecuteError = e.shellExecuteError;
    Fake.fullTokenCheckFails = e.fullTokenCheckFails;
    Fake.systemAccount = e.system;
    Fake.shellMissing = e.shellMissing;
    Fake.users["MyDB"] = [](HWND hDlg) { FakeCommand(hDlg, IDCANCEL); };

    EXPECT_EQ(RunWith(e.tail), e.exitCode);

    // The prompt and the copy may take the foreground; the prompt has an owner in front.
    std::vector<std::string> asked;
    if (e.asks) {
        asked.push_back("AllowSetForegroundWindow any");
        asked.push_back(
            "ShellExecuteExA runas C:\\Tools\\morvane.exe params (none) mask 0x0540 owner in front");
    }
    std::vector<std::string> calls = Fake.Calls("AllowSetForegroundWindow");
    for (const std::string &line : Fake.Calls("ShellExecuteExA"))
        calls.push_back(line);
    EXPECT_EQ(calls, asked);
    std::vector<std::string> waited;
    if (e.waits)
        waited.push_back("WaitForSingleObject copy INFINITE");
    EXPECT_EQ(Fake.Calls("WaitForSingleObject"), waited);
    EXPECT_EQ(Fake.Calls("DialogBoxParamA MyDB").size(), e.editorHere ? 1u : 0u);
    EXPECT_TRUE(Fake.Calls("MessageBoxA").empty()) << "no word about the prompt";
    EXPECT_EQ(Fake.openHandles, 0);
    EXPECT_EQ(Fake.liveWindows, 0) << "the prompt's owner is destroyed";
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Tokens, InteractiveElevation, testing::ValuesIn(Elevations), CaseName());
