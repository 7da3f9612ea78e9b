// Morvane fuzz target - the registry readers against any stored data: any bytes, any type,
// any length, with or without a NUL, and any failing step. The shown name takes the data
// as LocalizedString, over a label and with no name of the user's own.
// Input: byte 0 picks the reader and the failure, bytes 1-4 the type, the rest the data.

#include "fakewin.h"
#include "fuzzcheck.h"
#include "shellstore/binreg.h"

#include <stdint.h>
#include <string.h>

#include <string>

struct Reader {
    HKEY hRoot;
    const char *key;
    size_t width;
};

static const Reader Readers[] = {
    {HKEY_CLASSES_ROOT, BIN_KEY, 49},
    {HKEY_CLASSES_ROOT, ICON_KEY, 256},
    {HKEY_CURRENT_USER, SOUND_KEY, 256},
    {HKEY_CLASSES_ROOT, BIN_KEY, 49},
};

static const FakeStep Failures[] = {FAIL_NONE, FAIL_OPEN, FAIL_QUERY, FAIL_CLOSE};

static LPCSTR Read(int reader)
{
    DWORD dwType = 0;
    switch (reader) {
    case 0:
        return ReadBinLabel();
    case 1:
        return ReadBinIcon(&dwType);
    case 2:
        return ReadEmptyBinSound();
    default:
        return ReadShownBinName("Label");
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 5)
        return 0;
    int reader = data[0] % 4;
    FakeStep failure = Failures[(data[0] / 4) % 4];
    bool noValue = (data[0] / 16) % 2;
    const Reader &r = Readers[reader];
    DWORD type;
    memcpy(&type, data + 1, sizeof type);
    std::string stored((const char *)data + 5, size - 5);

    Fake.Reset();
    if (reader == 3)
        Fake.keys[{r.hRoot, r.key}].named[LOCALIZED] = FakeValue{type, stored};
    else
        Fake.SetDefault(r.hRoot, r.key, type, stored);
    if (noValue)
        Fake.keys[{r.hRoot, r.key}] = FakeKey();
    Fake.failStep = failure;

    LPCSTR result = Read(reader);

    // Always a terminated text within the field, and no key left open.
    size_t cch = strnlen(result, r.width);
    FUZZ_CHECK(cch < r.width);
    FUZZ_CHECK(Fake.openKeys == 0);

    // The text is the stored data up to their first NUL, when they could be read whole
    // and hold a NUL within the field (or end before the field does); else the marker.
    size_t nul = stored.find('\0');
    bool readable = failure == FAIL_NONE && !noValue && stored.size() <= r.width &&
                    (nul != std::string::npos || stored.size() < r.width);
    std::string expected = readable ? stored.substr(0, nul) : std::string("NOT_FOUND");
    if (reader == 3) {
        // LocalizedString read into a path-wide field: a plain string text as it stands, a
        // reference resolved (only the system's is known here), no value at all the label.
        std::string text = stored.substr(0, nul);
        bool isString = type == REG_SZ || type == REG_EXPAND_SZ;
        bool fits = stored.size() <= 256 && (nul != std::string::npos || stored.size() < 256);
        if (noValue && (failure == FAIL_NONE || failure == FAIL_CLOSE))
            expected = "Label";
        else if (failure != FAIL_NONE || !isString || !fits || text.empty())
            expected = "NOT_FOUND";
        else if (text[0] == '@')
            expected = text == SYSTEM_NAME ? "Trash" : "NOT_FOUND";
        else
            expected = text.size() < r.width ? text : "NOT_FOUND";
    }
    FUZZ_CHECK(std::string(result, cch) == expected);
    return 0;
}
