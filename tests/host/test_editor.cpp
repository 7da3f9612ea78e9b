// Label editor: Apply's state while editing, the Apply sequence, Cancel, and failures.

#include "app/app.h"
#include "app/state.h"
#include "casename.h"
#include "fakewin.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

static const char Label48[] = "012345678901234567890123456789012345678901234567";

static std::vector<std::string> ApplyCalls()
{
    static const char *const prefixes[] = {"EnableWindow", "RegSetValueExA",  "SHChangeNotify",
                                           "PlaySoundA",   "DialogBoxParamA", "EndDialog",
                                           "MessageBoxA"};
    std::vector<std::string> calls;
    for (const std::string &line : Fake.log)
        for (const char *prefix : prefixes)
            if (line.rfind(prefix, 0) == 0)
                calls.push_back(line);
    return calls;
}

class Editor : public testing::Test {
  protected:
    void SetUp() override
    {
        Fake.Reset();
        Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Trash");
        Fake.SetDefault(HKEY_CLASSES_ROOT, ICON_KEY, REG_EXPAND_SZ, std::string("x.dll,-1", 9));
        Fake.SetDefault(HKEY_CURRENT_USER, SOUND_KEY, REG_EXPAND_SZ,
                        std::string("%SystemRoot%\\Media\\empty.wav", 29));
        Fake.environment["SystemRoot"] = "C:\\Windows";
        Fake.users["About"] = [](HWND hAbout) { FakeCommand(hAbout, IDCANCEL); };
    }

    static int Run()
    {
        return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
    }

    static std::string StoredLabel()
    {
        const FakeValue *value = Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY);
        return value ? std::string(value->data.c_str()) : "(none)";
    }
};

TEST_F(Editor, OpensOnTheStoredLabelWithApplyDisabledAndEditLimited)
{
    Fake.users["MyDB"] = [](HWND hDlg) {
        EXPECT_EQ(FakeText(hDlg, IDC_LABEL_EDIT), "Trash");
        EXPECT_EQ(FakeControl(hDlg, IDC_LABEL_EDIT).limit, 48u);
        EXPECT_FALSE(FakeControl(hDlg, IDOK).enabled);
        FakeCommand(hDlg, IDCANCEL);
    };
    EXPECT_EQ(Run(), 0);
}

// Apply's state after each edit: enabled only for a non-empty label that differs.
struct EditStep {
    std::string text;
    bool applyEnabled;
};

struct EditSequence {
    const char *name;
    const char *stored;
    const char *localized;  // LocalizedString; SYSTEM_NAME shows "Trash"
    std::vector<EditStep> steps;
};
PRINT_CASE_NAME(EditSequence)

static const EditSequence EditSequences[] = {
    {"new label enables", "Trash", nullptr, {{"Bin", true}}},
    {"deleting all text disables", "Trash", nullptr, {{"Bin", true}, {"", false}}},
    {"retyping the stored label disables", "Trash", nullptr, {{"Tra", true}, {"Trash", false}}},
    {"change of case enables", "Trash", nullptr, {{"TRASH", true}, {"trash", true}}},
    {"trailing blank is a change", "Trash", nullptr, {{"Trash ", true}}},
    {"48-byte label round-trips", Label48, nullptr, {{std::string(Label48, 47), true}, {Label48, false}}},
    {"typing past 48 bytes is stopped at the limit",
     "Trash",
     nullptr,
     {{std::string(Label48) + "XYZ", true}}},
    // The editor opens on the shown name: the stored label behind it is a change.
    {"hidden stored label enables", "Recycle Bin", SYSTEM_NAME, {{"Recycle Bin", true}, {"Trash", false}}},
};

class EditorEditing : public Editor, public testing::WithParamInterface<EditSequence> {};

TEST_P(EditorEditing, EnablesApplyOnlyForAChangedNonEmptyLabel)
{
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, GetParam().stored);
    if (GetParam().localized != nullptr)
        Fake.SetNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, GetParam().localized);
    Fake.users["MyDB"] = [](HWND hDlg) {
        for (const EditStep &step : GetParam().steps) {
            FakeType(hDlg, IDC_LABEL_EDIT, step.text);
            EXPECT_EQ(FakeControl(hDlg, IDOK).enabled, step.applyEnabled)
                << "after typing '" << step.text << "'";
            EXPECT_EQ(std::string(NewLabel), step.text.substr(0, 48));
        }
        FakeCommand(hDlg, IDCANCEL);
    };

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(StoredLabel(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Edits, EditorEditing, testing::ValuesIn(EditSequences), CaseName());

// The edit field holds characters: Apply is enabled only for a text that the ANSI code page
// spells exactly and whole within a label, and only that text is stored.
PRINT_CASE_NAME(SpellingCase)

class EditorSpelling : public Editor, public testing::WithParamInterface<SpellingCase> {};

TEST_P(EditorSpelling, AppliesOnlyTheExactText)
{
    Fake.acp = GetParam().acp;
    Fake.users["MyDB"] = [](HWND hDlg) {
        FakeType(hDlg, IDC_LABEL_EDIT, GetParam().text);
        EXPECT_EQ(FakeControl(hDlg, IDOK).enabled, GetParam().exact);
        FakeCommand(hDlg, IDOK);
    };

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(StoredLabel(), GetParam().exact ? ToAnsi(GetParam().text) : "Trash");
}

INSTANTIATE_TEST_SUITE_P(CodePages, EditorSpelling, testing::ValuesIn(SpellingCases), CaseName());

TEST_F(Editor, ApplyDisablesStoresNotifiesPlaysShowsAboutThenEnds)
{
    Fake.users["MyDB"] = [](HWND hDlg) {
        FakeType(hDlg, IDC_LABEL_EDIT, "Bin");
        Fake.log.clear();
        FakeCommand(hDlg, IDOK, 0);
    };
    HWND hEditor = nullptr;
    Fake.users["About"] = [&hEditor](HWND hAbout) {
        FakeWindow *about = reinterpret_cast<FakeWindow *>(hAbout);
        hEditor = about->owner;
        ASSERT_NE(hEditor, nullptr);
        EXPECT_FALSE(FakeControl(hEditor, IDC_LABEL_EDIT).enabled);
        EXPECT_FALSE(FakeControl(hEditor, IDOK).enabled);
        EXPECT_FALSE(FakeControl(hEditor, IDCANCEL).enabled);
        FakeCommand(hAbout, IDCANCEL);
    };

    EXPECT_EQ(Run(), 0);

    EXPECT_EQ(ApplyCalls(), (std::vector<std::string>{
                                "EnableWindow 1000 0",
                                "EnableWindow 1 0",
                                "EnableWindow 2 0",
                                "RegSetValueExA " BIN_KEY " [] type 1 cb 49",
                                "RegSetValueExA " ICON_KEY " [] type 2 cb 256",
                                "SHChangeNotify 0x08000000 0x3000 null null",
                                "SHChangeNotify 0x00001000 0x0000 desktop null",
                                "PlaySoundA C:\\Windows\\Media\\empty.wav 0x00020000",
                                "DialogBoxParamA About program owned",
                                "EndDialog About 0",
                                "EndDialog MyDB 0",
                            }));
    EXPECT_EQ(StoredLabel(), "Bin");
}

TEST_F(Editor, ApplyWhileDisabledIsIgnored)
{
    Fake.users["MyDB"] = [](HWND hDlg) {
        Fake.log.clear();
        FakeCommand(hDlg, IDOK, 0);  // Enter with the label unchanged
        EXPECT_TRUE(ApplyCalls().empty());
        FakeCommand(hDlg, IDCANCEL);
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(StoredLabel(), "Trash");
}

// Cancel, Esc and the close box all arrive as IDCANCEL, with any notification code.
class EditorCancel : public Editor, public testing::WithParamInterface<WORD> {};

TEST_P(EditorCancel, EndsWithoutWriting)
{
    Fake.users["MyDB"] = [](HWND hDlg) {
        FakeType(hDlg, IDC_LABEL_EDIT, "Bin");
        FakeCommand(hDlg, IDCANCEL, GetParam());
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Fake.Calls("EndDialog"), std::vector<std::string>{"EndDialog MyDB 0"});
    EXPECT_TRUE(Fake.Calls("RegSetValueExA").empty());
    EXPECT_TRUE(Fake.Calls("PlaySoundA").empty());
}

INSTANTIATE_TEST_SUITE_P(Codes, EditorCancel, testing::Values(0, 1, 0x0300));

// A label that is not stored, or stays hidden, gives the write error and no sound or About.
PRINT_CASE_NAME(RenameFailure)

class EditorApplyFailure : public Editor, public testing::WithParamInterface<RenameFailure> {};

TEST_P(EditorApplyFailure, ShowsTheWriteErrorInsteadOfSoundAndAbout)
{
    Fake.SetNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, "@shell32.dll,-8964");
    Fake.SetDefault(HKEY_CURRENT_USER, USER_KEY, "Mine");
    Fake.failStep = GetParam().step;
    Fake.failKey = GetParam().key;
    Fake.users["MyDB"] = [](HWND hDlg) {
        FakeType(hDlg, IDC_LABEL_EDIT, "Bin");
        FakeCommand(hDlg, IDOK);
    };

    EXPECT_EQ(Run(), 0);

    EXPECT_EQ(Fake.Calls("MessageBoxA"),
              std::vector<std::string>{
                  "MessageBoxA owned|Application Error|Error writing system registry entry.|0x00000010"});
    EXPECT_TRUE(Fake.Calls("PlaySoundA").empty());
    EXPECT_TRUE(Fake.Calls("DialogBoxParamA About").empty());
    EXPECT_EQ(Fake.Calls("EndDialog"), std::vector<std::string>{"EndDialog MyDB 0"});
    EXPECT_EQ(Fake.Calls("SHChangeNotify").size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Steps, EditorApplyFailure, testing::ValuesIn(RenameFailures), CaseName());

// Apply refused by the class key offers the user at the desk a name for this account; a copy
// elevated as another user, whose own name the desk never shows, gets the write error.
struct DeskCase {
    const char *name;
    bool otherDeskUser;
    const char *box;
};
PRINT_CASE_NAME(DeskCase)

static const DeskCase DeskCases[] = {
    {"the user at the desk is offered a name for this account", false,
     "MessageBoxA owned|Morvane|A name for all users needs administrator rights.\nRename the Recycle Bin for "
     "this account only?|0x00000024"},
    {"another user at the desk: the write error", true,
     "MessageBoxA owned|Application Error|Error writing system registry entry.|0x00000010"},
};

class EditorRefused : public Editor, public testing::WithParamInterface<DeskCase> {};

TEST_P(EditorRefused, OffersANameForThisAccountOnlyToTheDeskUser)
{
    Fake.keys[{HKEY_CLASSES_ROOT, BIN_KEY}].readOnly = true;
    Fake.otherDeskUser = GetParam().otherDeskUser;
    Fake.messageBoxAnswer = IDNO;
    Fake.users["MyDB"] = [](HWND hDlg) {
        FakeType(hDlg, IDC_LABEL_EDIT, "Bin");
        FakeCommand(hDlg, IDOK);
    };

    EXPECT_EQ(Run(), 0);

    EXPECT_EQ(Fake.Calls("MessageBoxA"), std::vector<std::string>{GetParam().box});
    EXPECT_EQ(Fake.Default(HKEY_CURRENT_USER, USER_KEY), nullptr);
    EXPECT_TRUE(Fake.Calls("DialogBoxParamA About").empty());
    EXPECT_EQ(Fake.openHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(Users, EditorRefused, testing::ValuesIn(DeskCases), CaseName());

// The sound: nothing for an unreadable or empty value, environment references expanded.
struct SoundCase {
    const char *name;
    const char *stored;  // nullptr: no sound key
    DWORD type;
    const char *played;  // nullptr: nothing played
};
PRINT_CASE_NAME(SoundCase)

static const SoundCase SoundCases[] = {
    {"no sound key", nullptr, REG_SZ, nullptr},
    {"no sound chosen", "", REG_SZ, nullptr},
    {"plain file name", "C:\\Media\\empty.wav", REG_SZ, "C:\\Media\\empty.wav"},
    {"expandable name", "%SystemRoot%\\Media\\empty.wav", REG_EXPAND_SZ, "C:\\Windows\\Media\\empty.wav"},
    {"unknown variable kept", "%NoSuchVar%\\empty.wav", REG_EXPAND_SZ, "%NoSuchVar%\\empty.wav"},
    {"missing file still played for the default sound", "C:\\gone.wav", REG_SZ, "C:\\gone.wav"},
};

class EditorSound : public Editor, public testing::WithParamInterface<SoundCase> {};

TEST_P(EditorSound, PlaysTheExpandedNameOrNothing)
{
    const SoundCase &c = GetParam();
    if (c.stored != nullptr)
        Fake.SetDefault(HKEY_CURRENT_USER, SOUND_KEY, c.type, std::string(c.stored) + '\0');
    else
        Fake.RemoveKey(HKEY_CURRENT_USER, SOUND_KEY);
    Fake.users["MyDB"] = [](HWND hDlg) {
        FakeType(hDlg, IDC_LABEL_EDIT, "Bin");
        FakeCommand(hDlg, IDOK);
    };

    EXPECT_EQ(Run(), 0);

    std::vector<std::string> expected;
    if (c.played != nullptr)
        expected.push_back(std::string("PlaySoundA ") + c.played + " 0x00020000");
    EXPECT_EQ(Fake.Calls("PlaySoundA"), expected);
    EXPECT_EQ(Fake.Calls("DialogBoxParamA About"),
              std::vector<std::string>{"DialogBoxParamA About program owned"});
}

INSTANTIATE_TEST_SUITE_P(Values, EditorSound, testing::ValuesIn(SoundCases), CaseName());

TEST_F(Editor, SoundComesFromWinmmInTheSystemDirectoryOrNotAtAll)
{
    Fake.users["MyDB"] = [](HWND hDlg) {
        FakeType(hDlg, IDC_LABEL_EDIT, "Bin");
        FakeCommand(hDlg, IDOK);
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Fake.Calls("LoadLibrary"),
              (std::vector<std::string>{"LoadLibraryExA C:\\Windows\\system32\\shell32.dll 0x00000800",
                                        "LoadLibraryExA C:\\Windows\\system32\\winmm.dll 0x00000800"}));

    // Where the search flag is unknown, the full path alone.
    Fake.log.clear();
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Trash");
    Fake.hasSetDefaultDllDirectories = false;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Fake.Calls("LoadLibrary"),
              (std::vector<std::string>{"LoadLibraryExA C:\\Windows\\system32\\shell32.dll 0x00000800",
                                        "LoadLibraryA C:\\Windows\\system32\\shell32.dll",
                                        "LoadLibraryExA C:\\Windows\\system32\\winmm.dll 0x00000800",
                                        "LoadLibraryA C:\\Windows\\system32\\winmm.dll"}));
    EXPECT_EQ(Fake.Calls("PlaySoundA").size(), 1u);

    Fake.log.clear();
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Trash");
    Fake.winmmMissing = true;
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(Fake.Calls("PlaySoundA").empty());
    EXPECT_EQ(Fake.Calls("DialogBoxParamA About").size(), 1u);
}

TEST_F(Editor, SoundNameThatExpandsPastMaxPathIsPassedUnexpanded)
{
    Fake.environment["Long"] = std::string(300, 'd');
    Fake.SetDefault(HKEY_CURRENT_USER, SOUND_KEY, REG_EXPAND_SZ, std::string("%Long%\\a.wav", 13));
    Fake.users["MyDB"] = [](HWND hDlg) {
        FakeType(hDlg, IDC_LABEL_EDIT, "Bin");
        FakeCommand(hDlg, IDOK);
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Fake.Calls("PlaySoundA"), std::vector<std::string>{"PlaySoundA %Long%\\a.wav 0x00020000"});
}

// The procedure's return values: TRUE for WM_INITDIALOG, Apply and Cancel only.
TEST(EditorDlgProcResult, IsTrueOnlyForInitApplyAndCancel)
{
    Fake.Reset();
    CopyText(CurrentLabel, sizeof CurrentLabel, "Trash");
    FakeWindow dialog;
    HWND hDlg = reinterpret_cast<HWND>(&dialog);
    dialog.proc = EditorDlgProc;

    EXPECT_EQ(EditorDlgProc(hDlg, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(EditorDlgProc(hDlg, WM_COMMAND, MAKEWPARAM(IDC_LABEL_EDIT, EN_CHANGE), 0), FALSE);
    EXPECT_EQ(EditorDlgProc(hDlg, WM_COMMAND, MAKEWPARAM(IDC_CAPTION_TEXT, 0), 0), FALSE);
    EXPECT_EQ(EditorDlgProc(hDlg, WM_PAINT, 0, 0), FALSE);
    EXPECT_EQ(EditorDlgProc(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0), TRUE);
    EXPECT_TRUE(dialog.ended);
    EXPECT_EQ(EditorDlgProc(hDlg, WM_DESTROY, 0, 0), FALSE);
    EXPECT_EQ(Fake.liveIcons, 0);
}
