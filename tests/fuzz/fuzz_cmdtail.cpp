// Morvane fuzz target - the command-tail rule on any line, under a single-byte code page
// or a double-byte one. The first input byte picks the code page; the rest is the line.

#include "app/cmdtail.h"
#include "fuzzcheck.h"

#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>

static BOOL WINAPI NoLeadBytes(BYTE)
{
    return FALSE;
}

// Shift-JIS, code page 932.
static BOOL WINAPI ShiftJisLeadByte(BYTE b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

static bool IsBlank(BYTE b)
{
    return b >= 1 && b <= ' ';
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    bool dbcs = data[0] & 1;
    // An exact-size copy: any read past the NUL is caught by the address sanitizer.
    std::unique_ptr<char[]> line(new char[size]);
    memcpy(line.get(), data + 1, size - 1);
    line[size - 1] = '\0';
    const BYTE *pbLine = (const BYTE *)line.get();
    size_t cbLine = strlen(line.get());

    LPSTR tail = FindCommandTail(line.get(), dbcs ? ShiftJisLeadByte : NoLeadBytes);
    const BYTE *pbTail = (const BYTE *)tail;

    // The tail is the line's own end, and never starts with a blank.
    FUZZ_CHECK(pbTail >= pbLine && pbTail <= pbLine + cbLine);
    FUZZ_CHECK(*pbTail == '\0' || !IsBlank(*pbTail));

    // Before the tail: the name, then only blanks.
    const BYTE *pbNameEnd = pbTail;
    while (pbNameEnd > pbLine && IsBlank(pbNameEnd[-1]))
        --pbNameEnd;
    if (pbLine[0] != '"') {
        // A plain name holds no byte of 0x20 or less, and only blanks separate it from the tail.
        for (const BYTE *pb = pbLine; pb < pbNameEnd; ++pb)
            FUZZ_CHECK(*pb > ' ');
        FUZZ_CHECK(pbNameEnd == pbTail || *pbNameEnd <= ' ');
    } else if (!dbcs) {
        // A quoted name ends at the first quote after the opening one.
        const BYTE *pbQuote = (const BYTE *)memchr(pbLine + 1, '"', cbLine - 1);
        if (pbQuote == NULL)
            FUZZ_CHECK(*pbTail == '\0');
        else
            FUZZ_CHECK(pbNameEnd <= pbQuote + 1 && pbTail >= pbQuote + 1);
    }
    // The wide line, where no unit is a lead byte, follows the same rule.
    if (!dbcs) {
        std::wstring wide(pbLine, pbLine + cbLine);
        FUZZ_CHECK(FindCommandTailW(wide.c_str()) - wide.c_str() == pbTail - pbLine);
    }
    return 0;
}
