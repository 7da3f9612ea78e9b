// Command tail: what follows the program name, under a single- and a double-byte code page.

#include "app/cmdtail.h"
#include "casename.h"

#include <gtest/gtest.h>

#include <string.h>

#include <memory>
#include <string>

static BOOL WINAPI NoLeadBytes(BYTE)
{
    return FALSE;
}

// Shift-JIS, code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC.
static BOOL WINAPI ShiftJisLeadByte(BYTE b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

struct TailCase {
    const char *name;
    LEADBYTEPROC isLeadByte;
    std::string line;
    std::string tail;
};
PRINT_CASE_NAME(TailCase)

static const TailCase TailCases[] = {
    {"word after plain name", NoLeadBytes, "morvane.exe Trash", "Trash"},
    {"quoted name with blanks", NoLeadBytes, "\"C:\\Program Files\\morvane.exe\" Trash", "Trash"},
    {"no tail", NoLeadBytes, "morvane.exe", ""},
    {"empty line", NoLeadBytes, "", ""},
    {"blanks only", NoLeadBytes, "morvane.exe  \t  ", ""},
    {"quotes of the tail kept", NoLeadBytes, "morvane.exe \"Trash\"", "\"Trash\""},
    {"inner and trailing blanks kept", NoLeadBytes, "morvane.exe  Old  Bin  ", "Old  Bin  "},
    {"tab ends a plain name", NoLeadBytes, "morvane.exe\tBin", "Bin"},
    {"control bytes count as blanks", NoLeadBytes, "morvane.exe\x01\x1f Bin", "Bin"},
    {"byte 0xA0 is no blank", NoLeadBytes,
     "mor\xa0vane.exe \xa0"
     "Bin",
     "\xa0"
     "Bin"},
    {"high bytes start a tail", NoLeadBytes, "morvane.exe \xe9t\xe9", "\xe9t\xe9"},
    {"text glued to the closing quote", NoLeadBytes, "\"morvane.exe\"Trash", "Trash"},
    {"empty quoted name", NoLeadBytes, "\"\" Bin", "Bin"},
    {"unclosed quote takes the line", NoLeadBytes, "\"C:\\morvane.exe Trash", ""},
    {"single-byte: quote after 0x81 ends the name", NoLeadBytes, "\"\x81\"x.exe\" Bin", "x.exe\" Bin"},
    {"double-byte: quote as trail byte stays in the name", ShiftJisLeadByte, "\"\x81\"x.exe\" Bin", "Bin"},
    {"double-byte: whole character, then the closing quote", ShiftJisLeadByte, "\"\x82\xa0x\" Bin", "Bin"},
    {"double-byte: lead byte at the end of the line", ShiftJisLeadByte, "\"ab\x81", ""},
    {"double-byte: plain name ends at a blank", ShiftJisLeadByte, "\x81\x40.exe Bin", "Bin"},
    {"UTF-8: no byte is a lead byte", NoLeadBytes,
     "\"C:\\J\xc3\xb6rg\\morvane.exe\" \xd0\x9a\xf0\x9f\x97\x91", "\xd0\x9a\xf0\x9f\x97\x91"},
};

class CommandTail : public testing::TestWithParam<TailCase> {};

TEST_P(CommandTail, IsTheRestAfterNameAndBlanks)
{
    const TailCase &c = GetParam();
    // An exact-size copy, so reading past the NUL is caught by the address sanitizer.
    std::unique_ptr<char[]> line(new char[c.line.size() + 1]);
    memcpy(line.get(), c.line.c_str(), c.line.size() + 1);

    LPSTR pszTail = FindCommandTail(line.get(), c.isLeadByte);

    EXPECT_EQ(std::string(pszTail), c.tail);
    EXPECT_EQ(pszTail, line.get() + c.line.size() - c.tail.size()) << "the tail is the line's own end";
    // The wide line, whose units are never lead bytes, follows the same rules.
    if (c.isLeadByte == NoLeadBytes) {
        std::wstring wide(c.line.begin(), c.line.end());
        for (wchar_t &ch : wide)
            ch = (unsigned char)ch;
        EXPECT_EQ(FindCommandTailW(wide.c_str()), wide.c_str() + c.line.size() - c.tail.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, CommandTail, testing::ValuesIn(TailCases), CaseName());
