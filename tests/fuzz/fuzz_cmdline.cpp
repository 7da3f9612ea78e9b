// Morvane fuzz target - a whole command-line run: any tail against any stored label and
// icon location, with or without the names that would hide the label. Input: a flags byte, a length byte and
// that many tail bytes, a length byte and that many label bytes, then the icon location's bytes.

#include "app/app.h"
#include "fakewin.h"
#include "fuzzcheck.h"

#include <stdint.h>
#include <string.h>

#include <string>

static const DWORD IconTypes[] = {REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD};

static std::string TakeBytes(const uint8_t *&p, const uint8_t *end)
{
    size_t cb = p < end ? *p++ : 0;
    if (cb > (size_t)(end - p))
        cb = end - p;
    std::string bytes((const char *)p, cb);
    p += cb;
    return bytes;
}

// What a reader makes of stored data: their text, or the marker.
static std::string ReaderResult(const FakeValue *value, size_t width)
{
    if (value == nullptr || value->data.size() > width)
        return "NOT_FOUND";
    size_t nul = value->data.find('\0');
    if (nul == std::string::npos && value->data.size() == width)
        return "NOT_FOUND";
    return value->data.substr(0, nul);
}

static bool SameValue(const FakeValue *a, const FakeValue *b)
{
    return a == nullptr ? b == nullptr : b != nullptr && a->type == b->type && a->data == b->data;
}

static std::string Padded(const std::string &text, size_t width)
{
    std::string field = text;
    field.resize(width, '\0');
    return field;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t *p = data + 1, *end = data + size;
    uint8_t flags = data[0];
    std::string tail = TakeBytes(p, end);
    tail = tail.substr(0, tail.find('\0'));  // a command tail is a C string
    while (!tail.empty() && (unsigned char)tail[0] <= ' ')
        tail.erase(0, 1);  // and never starts with a blank
    if (tail.empty())
        tail = "x";  // an empty tail would open the editor
    std::string label = TakeBytes(p, end);
    std::string icon((const char *)p, end - p);

    Fake.Reset();
    Fake.commandLine = L"morvane.exe " + FromAnsi(tail);
    if (flags & 1)
        Fake.SetDefault(HKEY_CLASSES_ROOT, BIN_KEY, REG_SZ, label);
    if (flags & 2)
        Fake.SetDefault(HKEY_CLASSES_ROOT, ICON_KEY, IconTypes[(flags >> 2) & 3], icon);
    if (flags & 16) {
        Fake.failStep = FAIL_SET;
        Fake.failKey = BIN_KEY;
    }
    if (flags & 32)
        Fake.SetNamed(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED, SYSTEM_NAME);  // shows "Trash"
    if (flags & 64)
        Fake.SetDefault(HKEY_CURRENT_USER, USER_KEY, "Mine");
    const FakeValue *value = Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY);
    FakeValue labelCopy = value ? *value : FakeValue{};
    const FakeValue *labelBefore = value ? &labelCopy : nullptr;
    std::string storedLabel = ReaderResult(labelBefore, 49);
    value = Fake.Default(HKEY_CLASSES_ROOT, ICON_KEY);
    FakeValue iconCopy = value ? *value : FakeValue{};
    const FakeValue *iconBefore = value ? &iconCopy : nullptr;
    std::string iconText = ReaderResult(iconBefore, 256);

    int exitCode = RunProgram();

    const FakeValue *labelAfter = Fake.Default(HKEY_CLASSES_ROOT, BIN_KEY);
    const FakeValue *iconAfter = Fake.Default(HKEY_CLASSES_ROOT, ICON_KEY);
    bool labelChanged = !SameValue(labelBefore, labelAfter);
    // Nothing to do where the desktop shows the tail already and it is the stored label or the
    // machine's name, or where it reads like the marker of an unreadable label.
    std::string machine = (flags & 32) ? "Trash" : storedLabel, shown = (flags & 64) ? "Mine" : machine;
    bool toMachine = machine != "NOT_FOUND" && tail == machine;  // reached by removing the user's name
    bool unchanged = (tail == storedLabel && (storedLabel == "NOT_FOUND" || tail == shown)) ||
                     (toMachine && tail == shown);
    bool wanted = tail.size() <= 48 && !unchanged, stores = wanted && !toMachine;

    // The label is exactly the tail, stored whole, or nothing changed at all.
    if (labelChanged) {
        FUZZ_CHECK(labelAfter != nullptr && labelAfter->type == REG_SZ);
        FUZZ_CHECK(labelAfter->data == Padded(tail, 49));
    }
    FUZZ_CHECK(labelChanged == (stores && !(flags & 16)));
    FUZZ_CHECK(exitCode == (tail.size() > 48 ? 2 : stores && (flags & 16) ? 1 : 0));

    // The icon location keeps its text and type; an unreadable one is never rewritten,
    // so the marker is never stored as the icon location.
    if (stores && iconText != "NOT_FOUND") {
        FUZZ_CHECK(iconAfter != nullptr && iconAfter->type == iconBefore->type);
        FUZZ_CHECK(iconAfter->data == Padded(iconText, 256));
    } else {
        FUZZ_CHECK(SameValue(iconBefore, iconAfter));
    }
    // Once the label is stored no other name hides it; otherwise the names stay.
    FUZZ_CHECK((Fake.Named(HKEY_CLASSES_ROOT, BIN_KEY, LOCALIZED) != nullptr) ==
               ((flags & 32) && !labelChanged));
    FUZZ_CHECK((Fake.Default(HKEY_CURRENT_USER, USER_KEY) != nullptr) ==
               ((flags & 64) && !labelChanged && !(wanted && toMachine)));
    FUZZ_CHECK(Fake.openKeys == 0);
    FUZZ_CHECK(Fake.Calls("SHChangeNotify").size() == (wanted ? 2u : 0u));
    return 0;
}
