// The error box speaks the user's display language where the ANSI code page spells it.

#include "app/app.h"
#include "casename.h"
#include "fakewin.h"

#include <gtest/gtest.h>

struct ErrorLanguage {
    const char *name;
    UINT acp;
    std::wstring caption, text;  // the strings the resource loader picks
    const char *shown;           // "caption|text" as the box shows them
    UINT type = MB_OK | MB_ICONERROR;
};
PRINT_CASE_NAME(ErrorLanguage)

static const ErrorLanguage ErrorLanguages[] = {
    {"German in 1252", 1252, L"Anwendungsfehler", L"Fehler beim \u00dcbernehmen.",
     "Anwendungsfehler|Fehler beim \xdc"
     "bernehmen."},
    {"Russian in UTF-8", CP_UTF8, L"\u041e\u0448\u0438\u0431\u043a\u0430",
     L"\u0420\u0435\u0435\u0441\u0442\u0440",
     "\xd0\x9e\xd1\x88\xd0\xb8\xd0\xb1\xd0\xba\xd0\xb0|\xd0\xa0\xd0\xb5\xd0\xb5\xd1\x81\xd1\x82\xd1\x80"},
    {"Russian in 1252 falls back to English", 1252, L"\u041e\u0448\u0438\u0431\u043a\u0430",
     L"\u0420\u0435\u0435", "Application Error|Error writing system registry entry."},
    {"a text longer than its field falls back to English", CP_UTF8, L"Fehler", std::wstring(128, L'x'),
     "Fehler|Error writing system registry entry."},
    {"a text that fills its field in UTF-8 falls back to English", CP_UTF8, std::wstring(32, L'\u0436'), L"x",
     "Application Error|x"},
    {"Hebrew, marked right to left, reads from the right", CP_UTF8, L"\u05e9", L"\u200f\u200f\u05e9",
     "\xd7\xa9|\xe2\x80\x8f\xe2\x80\x8f\xd7\xa9", MB_OK | MB_ICONERROR | MB_RTLREADING | MB_RIGHT},
    {"Hebrew English-spelt in 1252 reads from the left", 1252, L"\u05e9", L"\u200f\u200f\u05e9",
     "Application Error|Error writing system registry entry."},
};

class ErrorBoxLanguage : public testing::TestWithParam<ErrorLanguage> {};

TEST_P(ErrorBoxLanguage, ShowsTheTranslationOrEnglishNeverQuestionMarks)
{
    Fake.Reset();
    Fake.acp = GetParam().acp;
    Fake.uiStrings[1] = GetParam().caption;
    Fake.uiStrings[3] = GetParam().text;
    ShowRegistryError(nullptr, TRUE);
    char type[16];
    snprintf(type, sizeof type, "|0x%08x", GetParam().type);
    EXPECT_EQ(Fake.Calls("MessageBoxA"),
              std::vector<std::string>{std::string("MessageBoxA no owner|") + GetParam().shown + type});
}

INSTANTIATE_TEST_SUITE_P(Languages, ErrorBoxLanguage, testing::ValuesIn(ErrorLanguages), CaseName());
