// Registry accessors: reader edges by field width, writers' stored bytes, failing steps.

#include "casename.h"
#include "fakewin.h"
#include "shellstore/binreg.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

static const std::string Marker("NOT_FOUND");

// Every case starts from an empty registry with nothing set to fail.
template <typename Case>
class FreshFake : public testing::TestWithParam<Case> {
  protected:
    void SetUp() override { Fake.Reset(); }
};

struct Reader {
    const char *name;
    HKEY hRoot;
    const char *key;
    size_t width;
    LPCSTR (*read)(void);
};
PRINT_CASE_NAME(Reader)

static LPCSTR ReadIcon(void)
{
    DWORD dwType = 0xdeadbeef;
    return ReadBinIcon(&dwType);
}

static const Reader Readers[] = {
    {"label", HKEY_CLASSES_ROOT, BIN_KEY, 49, ReadBinLabel},
    {"icon", HKEY_CLASSES_ROOT, ICON_KEY, 256, ReadIcon},
    {"sound", HKEY_CURRENT_USER, SOUND_KEY, 256, ReadEmptyBinSound},
};

// Stored data, built for a reader's field width, and what the reader must return.
struct ReadCase {
    const char *name;
    DWORD type;
    std::string (*data)(size_t width);
    std::string (*expected)(size_t width);
};
PRINT_CASE_NAME(ReadCase)

static const ReadCase ReadCases[] = {
    {"text filling the field with its NUL", REG_SZ, [](size_t w) { return std::string(w - 1, 'a') + '\0'; },
     [](size_t w) { return std::string(w - 1, 'a'); }},
    {"text one byte too long", REG_SZ, [](size_t w) { return std::string(w, 'a') + '\0'; },
     [](size_t) { return Marker; }},
    {"text two bytes too long", REG_SZ, [](size_t w) { return std::string(w + 1, 'a') + '\0'; },
     [](size_t) { return Marker; }},
    {"data filling the field without a NUL", REG_SZ, [](size_t w) { return std::string(w, 'a'); },
     [](size_t) { return Marker; }},
    {"shorter data without a NUL", REG_SZ, [](size_t w) { return std::string(w - 1, 'a'); },
     [](size_t w) { return std::string(w - 1, 'a'); }},
    {"empty string", REG_SZ, [](size_t) { return std::string(1, '\0'); },
     [](size_t) { return std::string(); }},
    {"no data at all", REG_SZ, [](size_t) { return std::string(); }, [](size_t) { return std::string(); }},
    {"text with an inner NUL", REG_SZ, [](size_t) { return std::string("ab\0cd", 6); },
     [](size_t) { return std::string("ab"); }},
    {"expandable string", REG_EXPAND_SZ, [](size_t) { return std::string("%SystemRoot%\\x.dll,-1", 22); },
     [](size_t) { return std::string("%SystemRoot%\\x.dll,-1"); }},
    {"dword taken as text", REG_DWORD, [](size_t) { return std::string("A\0\0\0", 4); },
     [](size_t) { return std::string("A"); }},
    {"binary without NUL taken as text", REG_BINARY, [](size_t) { return std::string("abc"); },
     [](size_t) { return std::string("abc"); }},
};

using ReaderTest = FreshFake<std::tuple<Reader, ReadCase>>;

TEST_P(ReaderTest, ReturnsTerminatedTextWithinFieldOrMarker)
{
    const Reader &r = std::get<0>(GetParam());
    const ReadCase &c = std::get<1>(GetParam());
    Fake.SetDefault(r.hRoot, r.key, c.type, c.data(r.width));

    LPCSTR pszResult = r.read();

    ASSERT_LT(strnlen(pszResult, r.width), r.width) << "no NUL within the field";
    EXPECT_EQ(std::string(pszResult), c.expected(r.width));
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Data, ReaderTest,
                         testing::Combine(testing::ValuesIn(Readers), testing::ValuesIn(ReadCases)),
                         CaseName());

// Each failing step, and each missing piece, gives the marker and leaves no key open.
struct ReadFailure {
    const char *name;
    FakeStep step;
    bool removeKey;
    bool removeValue;
};
PRINT_CASE_NAME(ReadFailure)

static const ReadFailure ReadFailures[] = {
    {"open fails", FAIL_OPEN, false, false},
    {"query fails", FAIL_QUERY, false, false},
    {"close fails after a good read", FAIL_CLOSE, false, false},
    {"key missing", FAIL_NONE, true, false},
    {"default value missing", FAIL_NONE, false, true},
};

using ReaderFailure = FreshFake<std::tuple<Reader, ReadFailure>>;

TEST_P(ReaderFailure, GivesTheMarker)
{
    const Reader &r = std::get<0>(GetParam());
    const ReadFailure &f = std::get<1>(GetParam());
    Fake.SetDefault(r.hRoot, r.key, "Stored");
    Fake.failStep = f.step;
    if (f.removeKey)
        Fake.RemoveKey(r.hRoot, r.key);
    if (f.removeValue)
        Fake.keys[{r.hRoot, r.key}].hasDefault = false;

    EXPECT_EQ(std::string(r.read()), Marker);
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, ReaderFailure,
                         testing::Combine(testing::ValuesIn(Readers), testing::ValuesIn(ReadFailures)),
                         CaseName());

TEST(BinIconReader, GivesTheValueType)
{
    Fake.Reset();
    Fake.SetDefault(HKEY_CLASSES_ROOT, ICON_KEY, REG_EXPAND_SZ, std::string("x.dll,-1", 9));
    DWORD dwType = 0xdeadbeef;

    EXPECT_STREQ(ReadBinIcon(&dwType), "x.dll,-1");
    EXPECT_EQ(dwType, (DWORD)REG_EXPAND_SZ);
}

// Writers store the whole field: the text, its NUL and zeros up to the field's width.
struct WriteCase {
    const char *name;
    const char *key;
    size_t width;
    DWORD type;
    std::string text;
    bool keyExists;
};
PRINT_CASE_NAME(WriteCase)

static LPCSTR Write(const WriteCase &c)
{
    BOOL fStored = FALSE;
    if (c.width != 49)
        return WriteBinIcon(c.text.c_str(), c.type);
    LPCSTR pszResult = WriteBinLabel(c.text.c_str(), &fStored);
    EXPECT_TRUE(fStored);
    return pszResult;
}

static const WriteCase WriteCases[] = {
    {"label", BIN_KEY, 49, REG_SZ, "Bin", true},
    {"label of 48 bytes", BIN_KEY, 49, REG_SZ, std::string(48, 'L'), true},
    {"empty label", BIN_KEY, 49, REG_SZ, "", true},
    {"label that reads like the marker", BIN_KEY, 49, REG_SZ, "NOT_FOUND", true},
    {"label key created when missing", BIN_KEY, 49, REG_SZ, "Bin", false},
    {"icon as plain string", ICON_KEY, 256, REG_SZ, "C:\\x.dll,-1", true},
    {"icon as expandable string", ICON_KEY, 256, REG_EXPAND_SZ, "%SystemRoot%\\x.dll,-1", true},
    {"icon of 255 bytes", ICON_KEY, 256, REG_SZ, std::string(255, 'i'), true},
};

using WriterTest = FreshFake<WriteCase>;

TEST_P(WriterTest, StoresTheWholeZeroFilledField)
{
    const WriteCase &c = GetParam();
    if (c.keyExists)
        Fake.SetDefault(HKEY_CLASSES_ROOT, c.key, "Old");

    EXPECT_EQ(std::string(Write(c)), c.text);

    const FakeValue *value = Fake.Default(HKEY_CLASSES_ROOT, c.key);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, c.type);
    std::string expected = c.text;
    expected.resize(c.width, '\0');
    EXPECT_EQ(value->data, expected);
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Texts, WriterTest, testing::ValuesIn(WriteCases), CaseName());

struct WriteFailure {
    const char *name;
    FakeStep step;
    bool stored;  // whether the value changed before the failing step
};
PRINT_CASE_NAME(WriteFailure)

static const WriteFailure WriteFailures[] = {
    {"create fails", FAIL_CREATE, false},
    {"set fails", FAIL_SET, false},
    {"close fails after the set", FAIL_CLOSE, true},
};

using WriterFailure = FreshFake<WriteFailure>;

TEST_P(WriterFailure, GivesTheMarker)
{
    const WriteFailure &f = GetParam();
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Old");
    Fake.SetDefault(HKEY_CLASSES_ROOT, ICON_KEY, "Icon");
    Fake.failStep = f.step;

    BOOL fStored = TRUE;
    EXPECT_EQ(std::string(WriteBinLabel("New", &fStored)), Marker);
    EXPECT_FALSE(fStored);
    EXPECT_EQ(std::string(WriteBinIcon("Other", REG_SZ)), Marker);

    EXPECT_EQ(Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY)->data.substr(0, 4),
              f.stored ? std::string("New", 4) : std::string("Old", 4));
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, WriterFailure, testing::ValuesIn(WriteFailures), CaseName());

TEST(Writers, RefuseTextsLongerThanTheirFieldWithoutTouchingTheRegistry)
{
    Fake.Reset();
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Old");

    BOOL fStored = TRUE;
    EXPECT_EQ(std::string(WriteBinLabel(std::string(49, 'L').c_str(), &fStored)), Marker);
    EXPECT_FALSE(fStored);
    EXPECT_EQ(std::string(WriteBinIcon(std::string(256, 'i').c_str(), REG_SZ)), Marker);
    EXPECT_TRUE(Fake.Calls("Reg").empty());
    EXPECT_FALSE(Fake.HasKey(HKEY_CLASSES_ROOT, ICON_KEY));
}

// Every accessor reaches its key in the 64-bit view, asking only for the right it uses,
// so a 32-bit build on 64-bit Windows changes the keys the 64-bit shell reads.
struct ViewCase {
    const char *name;
    void (*call)(void);
    const char *open;  // the one open or create the accessor makes
};
PRINT_CASE_NAME(ViewCase)

static const ViewCase ViewCases[] = {
    {"label read", [] { ReadBinLabel(); }, "RegOpenKeyExA " BIN_KEY " sam 0x0101"},
    {"icon read", [] { ReadIcon(); }, "RegOpenKeyExA " ICON_KEY " sam 0x0101"},
    {"sound read", [] { ReadEmptyBinSound(); }, "RegOpenKeyExA " SOUND_KEY " sam 0x0101"},
    {"label write",
     [] {
         BOOL fStored;
         WriteBinLabel("Bin", &fStored);
     },
     "RegCreateKeyExA " BIN_KEY " sam 0x0102"},
    {"icon write", [] { WriteBinIcon("x.dll,-1", REG_SZ); }, "RegCreateKeyExA " ICON_KEY " sam 0x0102"},
    {"LocalizedString removal", [] { RemoveLocalizedBinName(); }, "RegOpenKeyExA " BIN_KEY " sam 0x0102"},
    {"user's name removal", [] { RemoveUserBinName(); }, "RegOpenKeyExA " USER_KEY " sam 0x0102"},
};

using RegistryView = FreshFake<ViewCase>;

TEST_P(RegistryView, OpensItsKeyIn64BitViewWithTheRightItNeeds)
{
    const ViewCase &c = GetParam();
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Old");
    Fake.SetDefault(HKEY_CLASSES_ROOT, ICON_KEY, "Icon");
    Fake.SetDefault(HKEY_CURRENT_USER, SOUND_KEY, "ding.wav");
    Fake.SetDefault(HKEY_CURRENT_USER, USER_KEY, "Mine");

    c.call();

    std::vector<std::string> opens = Fake.Calls("RegOpenKeyExA");
    for (const std::string &line : Fake.Calls("RegCreateKeyExA"))
        opens.push_back(line);
    EXPECT_EQ(opens, std::vector<std::string>{c.open});
}

INSTANTIATE_TEST_SUITE_P(Accessors, RegistryView, testing::ValuesIn(ViewCases), CaseName());

// The name the desktop shows, found in the shell's order: the user's own name, LocalizedString
// (a reference resolved to its string, or a plain text), the label as read. A name that is set
// but cannot be told exactly, or does not fit a label, gives the marker.
struct ShownCase {
    const char *name;
    const char *userName;  // nullptr: none
    const char *localized;
    DWORD localizedType;
    std::wstring resolved;  // what the reference in LocalizedString names; empty: not found
    UINT codePage;
    const char *expected;
};
PRINT_CASE_NAME(ShownCase)

static const std::string Name48(48, 'n');
static const ShownCase ShownCases[] = {
    {"the label when nothing outranks it", nullptr, nullptr, REG_SZ, L"", 1252, "Label"},
    {"LocalizedString reference, resolved", nullptr, "@x.dll,-1", REG_EXPAND_SZ, L"Papierkorb", 1252,
     "Papierkorb"},
    {"LocalizedString as plain text", nullptr, "Corbeille", REG_SZ, L"", 1252, "Corbeille"},
    {"the user's own name before both", "Mine", "@x.dll,-1", REG_EXPAND_SZ, L"Papierkorb", 1252, "Mine"},
    {"reference that cannot be resolved", nullptr, "@x.dll,-1", REG_EXPAND_SZ, L"", 1252, "NOT_FOUND"},
    {"resolved name of 48 bytes", nullptr, "@x.dll,-1", REG_SZ, std::wstring(48, L'n'), 1252, Name48.c_str()},
    {"resolved name too long for a label", nullptr, "@x.dll,-1", REG_SZ, std::wstring(49, L'n'), 1252,
     "NOT_FOUND"},
    {"resolved name in the code page", nullptr, "@x.dll,-1", REG_SZ, L"Corbeille \u00e0 papier", 1252,
     "Corbeille \xe0 papier"},
    {"resolved name the code page cannot spell", nullptr, "@x.dll,-1", REG_SZ, L"\u56de\u6536\u7ad9", 1252,
     "NOT_FOUND"},
    {"resolved name in a UTF-8 code page", nullptr, "@x.dll,-1", REG_SZ, L"Corbeille \u00e0 papier", CP_UTF8,
     "Corbeille \xc3\xa0 papier"},
    {"plain LocalizedString too long for a label", nullptr,
     "0123456789012345678901234567890123456789012345678", REG_SZ, L"", 1252, "NOT_FOUND"},
    {"LocalizedString that is no string", nullptr, "Corbeille", REG_BINARY, L"", 1252, "NOT_FOUND"},
    {"empty LocalizedString", nullptr, "", REG_SZ, L"", 1252, "NOT_FOUND"},
    {"the user's own name too long for a label", "0123456789012345678901234567890123456789012345678", nullptr,
     REG_SZ, L"", 1252, "NOT_FOUND"},
    {"empty name of the user's own", "", nullptr, REG_SZ, L"", 1252, "NOT_FOUND"},
};

using ShownName = FreshFake<ShownCase>;

TEST_P(ShownName, IsFoundInTheShellsOrder)
{
    const ShownCase &c = GetParam();
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Label");
    if (c.userName != nullptr)
        Fake.SetDefault(HKEY_CURRENT_USER, USER_KEY, c.userName);
    if (c.localized != nullptr)
        Fake.keys[{HKEY_CLASSES_ROOT, BIN_KEY}].named[LOCALIZED] =
            FakeValue{c.localizedType, std::string(c.localized) + '\0'};
    if (!c.resolved.empty())
        Fake.strings["@x.dll,-1"] = c.resolved;
    Fake.acp = c.codePage;

    LPCSTR pszShown = ReadShownBinName("Label");

    ASSERT_LT(strnlen(pszShown, 49), 49u) << "no NUL within a label's field";
    EXPECT_EQ(std::string(pszShown), c.expected);
    for (const std::string &open : Fake.Calls("RegOpenKeyExA"))
        EXPECT_NE(open.find(" sam 0x0101"), std::string::npos) << open;
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Names, ShownName, testing::ValuesIn(ShownCases), CaseName());

// Failures that leave the shown name unknown, never some lower-ranked name.
struct UnknownShownName {
    const char *name;
    FakeStep step;
    const char *key;
    bool muiMissing;
};
PRINT_CASE_NAME(UnknownShownName)

static const UnknownShownName UnknownShownNames[] = {
    {"the user's key cannot be opened", FAIL_OPEN, USER_KEY, false},
    {"the user's name cannot be queried", FAIL_QUERY, USER_KEY, false},
    {"the class key cannot be opened", FAIL_OPEN, BIN_KEY, false},
    {"LocalizedString cannot be queried", FAIL_QUERY, BIN_KEY, false},
    {"no RegLoadMUIStringW, as before Vista", FAIL_NONE, "", true},
};

using ShownNameFailure = FreshFake<UnknownShownName>;

TEST_P(ShownNameFailure, GivesTheMarker)
{
    const UnknownShownName &f = GetParam();
    Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, "Label");
    Fake.SetNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, SYSTEM_NAME);
    Fake.SetDefault(HKEY_CURRENT_USER, USER_KEY, "Mine");
    if (strcmp(f.key, USER_KEY) != 0)  // else the user's name is the answer
        Fake.RemoveKey(HKEY_CURRENT_USER, USER_KEY);
    Fake.failStep = f.step;
    Fake.failKey = f.key;
    Fake.muiMissing = f.muiMissing;

    EXPECT_EQ(std::string(ReadShownBinName("Label")), Marker);
    EXPECT_EQ(Fake.openKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, ShownNameFailure, testing::ValuesIn(UnknownShownNames), CaseName());
