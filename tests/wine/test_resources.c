/* Morvane Wine tests - the built program's own resources, as the resource compiler left
 * them: both dialog templates field by field, and in every language the shape of the English
 * ones with the error texts; the icon groups from the images' own headers, the version
 * resource and the manifest.   test_resources.exe MORVANE_EXE */

#include "harness.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>

typedef struct {
    DWORD id;
    WORD classAtom;   /* 0x80 BUTTON, 0x81 EDIT, 0x82 STATIC */
    const char *text; /* NULL: an icon, named by the ordinal iconId */
    WORD iconId;
    short x, y, cx, cy;
    DWORD style, exStyle;
} ItemSpec;

typedef struct {
    const char *name;
    DWORD style, exStyle;
    short x, y, cx, cy;
    const char *title;
    const ItemSpec *items;
    WORD itemCount;
} DialogSpec;

static const ItemSpec EditorItems[] = {
    {1000, 0x81, "", 0, 37, 16, 81, 12, 0x50810080, 0},
    {1, 0x80, "Apply", 0, 37, 34, 39, 14, 0x50010001, 0},
    {2, 0x80, "Cancel", 0, 79, 34, 39, 14, 0x50010000, 0},
    {103, 0x82, "Current icon label:", 0, 37, 6, 58, 8, 0x50020000, 0},
    {101, 0x82, NULL, 101, 8, 8, 20, 20, 0x50000003, 0x20},
};

static const ItemSpec AboutItems[] = {
    {2, 0x80, "OK", 0, 47, 34, 31, 14, 0x50010301, 0},
    {103, 0x82, "Morvane " PROJECT_VERSION_TEXT "\nRecycle Bin renamer", 0, 38, 10, 73, 18, 0x50000080, 0},
    {102, 0x82, NULL, 102, 8, 8, 20, 20, 0x50000003, 0x20},
};

static const DialogSpec Dialogs[] = {
    {"MYDB", 0x80C808C0, 0, 0, 0, 126, 55, "Morvane", EditorItems, 5},
    {"ABOUT", 0x90000040, 0x00010000, 0, 0, 126, 55, "", AboutItems, 3},
};

/* 32 bits: a 48-pixel image with alpha, stored as PNG; the others are DIBs with a mask. */
typedef struct {
    WORD group;
    int count;
    struct {
        int size, bits;
    } images[5];
} IconSpec;

static const IconSpec Icons[] = {
    {100, 5, {{16, 4}, {16, 8}, {32, 4}, {32, 8}, {48, 32}}},
    {101, 3, {{32, 4}, {32, 8}, {48, 32}}},
    {102, 3, {{32, 4}, {32, 8}, {48, 32}}},
};

static HMODULE Module;

#define US_ENGLISH MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)

static const BYTE *LoadResEx(LPCSTR name, LPCSTR type, LANGID lang, DWORD *cb)
{
    HRSRC hRes = FindResourceExA(Module, type, name, lang);
    *cb = hRes ? SizeofResource(Module, hRes) : 0;
    return hRes ? (const BYTE *)LockResource(LoadResource(Module, hRes)) : NULL;
}

/* As the resource loader picks it for the user's display language. */
static const BYTE *LoadRes(LPCSTR name, LPCSTR type, DWORD *cb)
{
    return LoadResEx(name, type, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), cb);
}

static WORD Word(const BYTE **p)
{
    WORD w;
    memcpy(&w, *p, sizeof w);
    *p += sizeof w;
    return w;
}

static DWORD Dword(const BYTE **p)
{
    DWORD d;
    memcpy(&d, *p, sizeof d);
    *p += sizeof d;
    return d;
}

/* A name or ordinal: the ordinal (0 for a string or none), the string in 8 bits. */
static WORD SzOrOrd(const BYTE **p, char *text, size_t cbText)
{
    WORD w = Word(p);
    size_t i = 0;
    text[0] = '\0';
    if (w == 0xFFFF)
        return Word(p);
    while (w != 0) {
        if (i + 1 < cbText)
            text[i++] = w < 0x100 ? (char)w : '?';
        w = Word(p);
    }
    text[i] = '\0';
    return 0;
}

static void Align4(const BYTE **p, const BYTE *base)
{
    *p += (4 - ((*p - base) & 3)) & 3;
}

/* A template in one language: US English exactly as specified; a translation in the same shape,
 * with its own texts, positions and sizes, in MS Shell Dlg at 8 or 9 points. Its size in *size. */
static void TestDialog(const DialogSpec *d, LANGID lang, SIZE *size)
{
    const BYTE *base, *p;
    DWORD cb;
    char text[128], face[64];
    WORD i, ordinal;
    BOOL english = lang == US_ENGLISH;

    base = p = LoadResEx(d->name, RT_DIALOG, lang, &cb);
    CHECK(p != NULL, "no template %s in language %04x", d->name, lang);
    if (p == NULL)
        return;
    {
        WORD version = Word(&p), signature = Word(&p);
        DWORD helpId = Dword(&p), exStyle = Dword(&p), style = Dword(&p);
        WORD count = Word(&p);
        short x = (short)Word(&p), y = (short)Word(&p), cx = (short)Word(&p), cy = (short)Word(&p);
        CHECK(version == 1 && signature == 0xFFFF, "not an extended template, version 1");
        CHECK(helpId == 0, "help id %lu", helpId);
        /* A right-to-left translation mirrors its dialogs. */
        CHECK((exStyle & ~(english ? 0 : WS_EX_LAYOUTRTL)) == d->exStyle, "extended style %08lx", exStyle);
        CHECK(style == d->style, "style %08lx", style);
        CHECK(count == d->itemCount, "%u controls", count);
        CHECK(x == d->x && y == d->y && (!english || (cx == d->cx && cy == d->cy)), "at %d,%d size %dx%d", x,
              y, cx, cy);
        size->cx = cx;
        size->cy = cy;
    }
    CHECK(SzOrOrd(&p, text, sizeof text) == 0 && text[0] == '\0', "has a menu");
    CHECK(SzOrOrd(&p, text, sizeof text) == 0 && text[0] == '\0', "has a dialog class");
    SzOrOrd(&p, text, sizeof text);
    CHECK(strcmp(text, d->title) == 0, "caption [%s]", text);
    {
        WORD points = Word(&p), weight = Word(&p);
        CHECK((points == 8 || (!english && points == 9)) && weight == 0, "font of %u points, weight %u",
              points, weight);
    }
    CHECK(p[0] == 0 && p[1] == 1, "italic %d, charset %d", p[0], p[1]);
    p += 2;
    SzOrOrd(&p, face, sizeof face);
    CHECK(strcmp(face, english ? "MS Sans Serif" : "MS Shell Dlg") == 0, "font [%s]", face);

    for (i = 0; i < d->itemCount; ++i) {
        const ItemSpec *c = &d->items[i];
        Align4(&p, base);
        {
            DWORD helpId = Dword(&p), exStyle = Dword(&p), style = Dword(&p);
            short x = (short)Word(&p), y = (short)Word(&p), cx = (short)Word(&p), cy = (short)Word(&p);
            DWORD id = Dword(&p);
            CHECK(id == c->id, "control %u has id %lu, expected %lu", i, id, c->id);
            CHECK(helpId == 0, "control %lu help id", c->id);
            CHECK(exStyle == c->exStyle, "control %lu extended style %08lx", c->id, exStyle);
            CHECK(style == c->style, "control %lu style %08lx", c->id, style);
            CHECK(!english || (x == c->x && y == c->y && cx == c->cx && cy == c->cy),
                  "control %lu at %d,%d size %dx%d", c->id, x, y, cx, cy);
        }
        CHECK(SzOrOrd(&p, text, sizeof text) == c->classAtom, "control %lu class", c->id);
        ordinal = SzOrOrd(&p, text, sizeof text);
        if (c->text != NULL)
            CHECK(ordinal == 0 &&
                      (english ? strcmp(text, c->text) == 0 : text[0] != '\0' || c->text[0] == '\0'),
                  "control %lu text [%s]", c->id, text);
        else
            CHECK(ordinal == c->iconId, "control %lu shows icon %u", c->id, ordinal);
        p += Word(&p); /* creation data */
    }
    CHECK(p <= base + cb, "template overruns its resource");
}

static BOOL CALLBACK CollectName(HMODULE hModule, LPCSTR type, LPSTR name, LONG_PTR lParam)
{
    char *names = (char *)lParam;
    char one[32];
    (void)hModule;
    (void)type;
    if (IS_INTRESOURCE(name))
        snprintf(one, sizeof one, "%u ", (unsigned)(ULONG_PTR)name);
    else
        snprintf(one, sizeof one, "%s ", name);
    strncat(names, one, 255 - strlen(names));
    return TRUE;
}

static void TestNames(void)
{
    char names[256];

    BeginCase("templates and icon groups, by name");
    names[0] = '\0';
    EnumResourceNamesA(Module, RT_DIALOG, CollectName, (LONG_PTR)names);
    CHECK(strcmp(names, "ABOUT MYDB ") == 0, "dialog templates [%s]", names);
    CHECK(FindResourceA(Module, "MyDB", RT_DIALOG) && FindResourceA(Module, "About", RT_DIALOG),
          "the program's mixed-case names do not find the templates");
    names[0] = '\0';
    EnumResourceNamesA(Module, RT_GROUP_ICON, CollectName, (LONG_PTR)names);
    CHECK(strcmp(names, "100 101 102 ") == 0, "icon groups [%s], 100 must come first", names);
}

/* The error texts in one language: each there, and in UTF-8 within the field it is shown from. */
static void TestErrorTexts(LANGID lang)
{
    /* by id: the caption, the read and write errors, the offer of a name for this account */
    static const int FieldBytes[] = {0, 64, 128, 128, 512};
    const BYTE *p = LoadResEx(MAKEINTRESOURCEA(1), RT_STRING, lang, &(DWORD){0});
    char text[1024];
    WORD id, cch;
    int cb;

    CHECK(p != NULL, "no error texts in language %04x", lang);
    for (id = 0; p != NULL && id < sizeof FieldBytes / sizeof FieldBytes[0]; ++id, p += 2 * cch) {
        cch = Word(&p);
        cb = WideCharToMultiByte(CP_UTF8, 0, (const WCHAR *)p, cch, text, sizeof text, NULL, NULL);
        CHECK(id == 0 || (cch != 0 && cb < FieldBytes[id]),
              "error text %u in language %04x: %d bytes of UTF-8", id, lang, cb);
    }
}

static BOOL CALLBACK CollectLanguage(HMODULE hModule, LPCSTR type, LPCSTR name, WORD lang, LONG_PTR lParam)
{
    LANGID *langs = (LANGID *)lParam;
    (void)hModule;
    (void)type;
    (void)name;
    if (langs[0] < 63)
        langs[++langs[0]] = lang;
    return TRUE;
}

/* Every language the editor comes in, US English among them: the same dialogs, the same size
 * both, and the error texts. */
static void TestLanguages(void)
{
    LANGID langs[64] = {0};
    SIZE editor, about;
    char name[32];
    WORD i, english = 0;

    EnumResourceLanguagesA(Module, RT_DIALOG, "MYDB", CollectLanguage, (LONG_PTR)langs);
    for (i = 1; i <= langs[0]; ++i) {
        snprintf(name, sizeof name, "language %04x", langs[i]);
        BeginCase(name);
        english += langs[i] == US_ENGLISH;
        TestDialog(&Dialogs[0], langs[i], &editor);
        TestDialog(&Dialogs[1], langs[i], &about);
        CHECK(editor.cx == about.cx && editor.cy == about.cy, "About is %ldx%ld, the editor %ldx%ld",
              about.cx, about.cy, editor.cx, editor.cy);
        TestErrorTexts(langs[i]);
    }
    CHECK(langs[0] == MORVANE_LANGUAGES && english == 1,
          "%u languages, %u of them US English; expected %d and 1", langs[0], english, MORVANE_LANGUAGES);
}

static DWORD BigEndian(const BYTE *p)
{
    return ((DWORD)p[0] << 24) | ((DWORD)p[1] << 16) | ((DWORD)p[2] << 8) | p[3];
}

/* An image's size and bits per pixel from its own header: a DIB's, or a PNG's IHDR, where
 * colour type 6 with 8-bit samples is 32 bits of colour and alpha. */
static void ImageFormat(const BYTE *image, DWORD cbImage, int *size, int *bits)
{
    static const BYTE signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    BITMAPINFOHEADER bih;
    *size = *bits = 0;
    if (cbImage >= 26 && memcmp(image, signature, sizeof signature) == 0 &&
        memcmp(image + 12, "IHDR", 4) == 0) {
        *size = BigEndian(image + 16) == BigEndian(image + 20) ? (int)BigEndian(image + 16) : -1;
        *bits = image[24] == 8 && image[25] == 6 ? 32 : -1;
    } else if (cbImage >= sizeof bih) {
        memcpy(&bih, image, sizeof bih);
        *size = bih.biHeight == 2 * bih.biWidth ? bih.biWidth : -1;
        *bits = bih.biBitCount;
    }
}

/* Whether an icon image drawn over a grey 32x32 bitmap leaves its top left pixel grey. */
static BOOL DrawsTransparentCorner(const BYTE *image, DWORD cbImage)
{
    BITMAPINFO bmi = {{sizeof bmi.bmiHeader, 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {{0, 0, 0, 0}}};
    HICON hIcon = CreateIconFromResourceEx((BYTE *)image, cbImage, TRUE, 0x00030000, 32, 32, 0);
    HDC hdc = CreateCompatibleDC(NULL);
    DWORD *pixels = NULL;
    HBITMAP hbm = CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, (void **)&pixels, NULL, 0);
    BOOL clear;

    SelectObject(hdc, hbm);
    memset(pixels, 0x80, 32 * 32 * 4);
    clear = DrawIconEx(hdc, 0, 0, hIcon, 32, 32, 0, NULL, DI_NORMAL) && (pixels[0] & 0xFFFFFF) == 0x808080;
    DeleteDC(hdc);
    DeleteObject(hbm);
    DestroyIcon(hIcon);
    return clear;
}

static void TestIcon(const IconSpec *want)
{
    const BYTE *p, *image;
    DWORD cb, cbImage;
    WORD count, i;
    int j, found, size, bits, id48;
    char name[32];

    snprintf(name, sizeof name, "icon group %u", want->group);
    BeginCase(name);
    p = LoadRes(MAKEINTRESOURCEA(want->group), RT_GROUP_ICON, &cb);
    CHECK(p != NULL, "missing");
    if (p == NULL)
        return;
    {
        WORD reserved = Word(&p), type = Word(&p);
        CHECK(reserved == 0 && type == 1, "not an icon directory");
    }
    count = Word(&p);
    CHECK(count == want->count, "%u images, expected %d", count, want->count);
    for (i = 0; i < count; ++i) {
        /* GRPICONDIRENTRY: sizes and depth as listed, then the RT_ICON id. */
        WORD id;
        p += 12;
        id = Word(&p);
        image = LoadRes(MAKEINTRESOURCEA(id), RT_ICON, &cbImage);
        CHECK(image != NULL, "image %u missing", id);
        if (image == NULL)
            continue;
        ImageFormat(image, cbImage, &size, &bits);
        found = 0;
        for (j = 0; j < want->count; ++j)
            found |= size == want->images[j].size && bits == want->images[j].bits;
        CHECK(found, "image %d pixels at %d bits is not listed", size, bits);
    }
    /* What the platform loads at 48 pixels is the 48-pixel image, not a 32 one stretched. */
    p = LoadRes(MAKEINTRESOURCEA(want->group), RT_GROUP_ICON, &cb);
    id48 = LookupIconIdFromDirectoryEx((BYTE *)p, TRUE, 48, 48, 0);
    image = LoadRes(MAKEINTRESOURCEA(id48), RT_ICON, &cbImage);
    ImageFormat(image != NULL ? image : (const BYTE *)"", image != NULL ? cbImage : 0, &size, &bits);
    CHECK(size == 48 && bits == 32, "at 48 pixels the platform picks an image of %d pixels at %d bits", size,
          bits);
    /* Drawn by the platform at 32 pixels, the picture lets the screen through its corner. */
    image =
        LoadRes(MAKEINTRESOURCEA(LookupIconIdFromDirectoryEx((BYTE *)p, TRUE, 32, 32, 0)), RT_ICON, &cbImage);
    CHECK(image != NULL && DrawsTransparentCorner(image, cbImage),
          "the 32-pixel image's corner is not clear");
}

/* The machine the file is built for, from its PE header: "x86", "amd64" or "". */
static const char *MachineOf(const char *path)
{
    IMAGE_DOS_HEADER dos;
    IMAGE_FILE_HEADER file;
    DWORD signature = 0;
    const char *machine = "";
    FILE *f = fopen(path, "rb");
    if (f == NULL)
        return machine;
    if (fread(&dos, sizeof dos, 1, f) == 1 && fseek(f, dos.e_lfanew, SEEK_SET) == 0 &&
        fread(&signature, sizeof signature, 1, f) == 1 && signature == IMAGE_NT_SIGNATURE &&
        fread(&file, sizeof file, 1, f) == 1)
        machine = file.Machine == IMAGE_FILE_MACHINE_I386    ? "x86"
                  : file.Machine == IMAGE_FILE_MACHINE_AMD64 ? "amd64"
                                                             : "";
    fclose(f);
    return machine;
}

static BOOL HasVersionText(const void *block, const char *name, const char *want)
{
    char query[128];
    char *value;
    UINT cch;
    snprintf(query, sizeof query, "\\StringFileInfo\\040904E4\\%s", name);
    return VerQueryValueA(block, query, (void **)&value, &cch) && strcmp(value, want) == 0;
}

/* Version numbers and texts come from the project version, and the manifest names the
 * same version and the file's own machine. */
static void TestVersionAndManifest(const char *path)
{
    static const DWORD versionMS = (PROJECT_VERSION_MAJOR << 16) | PROJECT_VERSION_MINOR;
    static const DWORD versionLS = (PROJECT_VERSION_PATCH << 16) | PROJECT_VERSION_TWEAK;
    char block[4096];
    VS_FIXEDFILEINFO *fixed = NULL;
    UINT cb = 0;
    DWORD cbManifest;
    const BYTE *manifest;
    char text[4096], want[128];

    BeginCase("version resource and manifest");
    CHECK(GetFileVersionInfoA(path, 0, sizeof block, block), "no version resource");
    CHECK(HasVersionText(block, "ProductName", "Morvane"), "product name");
    CHECK(HasVersionText(block, "FileDescription", "Morvane - renames the Recycle Bin"), "file description");
    CHECK(HasVersionText(block, "FileVersion", PROJECT_VERSION_TEXT), "file version text");
    CHECK(HasVersionText(block, "ProductVersion", PROJECT_VERSION_TEXT), "product version text");
    CHECK(VerQueryValueA(block, "\\", (void **)&fixed, &cb) && cb >= sizeof *fixed, "no fixed version");
    if (fixed != NULL && cb >= sizeof *fixed)
        CHECK(fixed->dwFileVersionMS == versionMS && fixed->dwFileVersionLS == versionLS &&
                  fixed->dwProductVersionMS == versionMS && fixed->dwProductVersionLS == versionLS,
              "fixed version %08lx.%08lx, product %08lx.%08lx", fixed->dwFileVersionMS,
              fixed->dwFileVersionLS, fixed->dwProductVersionMS, fixed->dwProductVersionLS);
    manifest = LoadRes(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24), &cbManifest);
    CHECK(manifest != NULL, "no manifest");
    if (manifest != NULL) {
        lstrcpynA(text, (const char *)manifest, cbManifest + 1 < sizeof text ? cbManifest + 1 : sizeof text);
        CHECK(strstr(text, "level=\"asInvoker\"") != NULL, "manifest does not declare asInvoker");
        CHECK(strstr(text, "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}") != NULL,
              "manifest does not name Windows 10");
        snprintf(want, sizeof want, "version=\"%d.%d.%d.%d\" processorArchitecture=\"%s\"",
                 PROJECT_VERSION_MAJOR, PROJECT_VERSION_MINOR, PROJECT_VERSION_PATCH, PROJECT_VERSION_TWEAK,
                 MachineOf(path));
        CHECK(strstr(text, want) != NULL, "manifest lacks [%s]", want);
    }
}

/* The process settings, as the platform reads them from the manifest: each element counts
 * only in its own namespace. */
static const struct {
    const WCHAR *space, *name, *value;
} Settings[] = {
    {L"http://schemas.microsoft.com/SMI/2019/WindowsSettings", L"activeCodePage", L"UTF-8"},
    /* Per-monitor V2 where Windows has it, else system awareness, never per-monitor V1. */
    {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true"},
    {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2, System"},
};

static void TestManifestSettings(const char *path)
{
    ACTCTXW ctx;
    WCHAR widePath[MAX_PATH], value[64];
    SIZE_T cch;
    HANDLE hCtx;
    size_t i;

    BeginCase("manifest settings, read by the platform");
    MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    memset(&ctx, 0, sizeof ctx);
    ctx.cbSize = sizeof ctx;
    ctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    ctx.lpSource = widePath;
    ctx.lpResourceName = MAKEINTRESOURCEW(1);
    hCtx = CreateActCtxW(&ctx);
    CHECK(hCtx != INVALID_HANDLE_VALUE, "the manifest makes no activation context (%lu)", GetLastError());
    if (hCtx == INVALID_HANDLE_VALUE)
        return;
    for (i = 0; i < sizeof Settings / sizeof Settings[0]; ++i) {
        value[0] = L'\0';
        CHECK(QueryActCtxSettingsW(0, hCtx, Settings[i].space, Settings[i].name, value, 64, &cch) &&
                  wcscmp(value, Settings[i].value) == 0,
              "setting %ls in %ls reads [%ls], not [%ls]", Settings[i].name, Settings[i].space, value,
              Settings[i].value);
    }
    ReleaseActCtx(hCtx);
}

int main(int argc, char **argv)
{
    char path[MAX_PATH];
    size_t i;

    InitHarness(argc, argv, "");
    ToDosPath(argv[1], path, sizeof path);
    Module = LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (Module == NULL) {
        printf("cannot load %s (%lu)\n", path, GetLastError());
        return 1;
    }
    TestLanguages();
    TestNames();
    for (i = 0; i < sizeof Icons / sizeof Icons[0]; ++i)
        TestIcon(&Icons[i]);
    TestVersionAndManifest(path);
    TestManifestSettings(path);
    return EndTests();
}
