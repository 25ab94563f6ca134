#include "framework/Fonts.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "framework/Gdi.h"
#include "text/FontFaces.h"

namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

int CALLBACK ListFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM faces) {
    // Bitmap faces come in a few sizes only.
    if ((type & RASTER_FONTTYPE) == 0) {
        reinterpret_cast<std::vector<FontFace>*>(faces)->push_back(
            {font->lfFaceName, (font->lfPitchAndFamily & 3) == FIXED_PITCH});
    }
    return 1;
}

std::wstring LookUpJapaneseFace(const std::wstring& face) {
    WindowDC screen(nullptr);
    LOGFONTW query{};
    query.lfCharSet = SHIFTJIS_CHARSET;
    // By name the system finds a face under any of its names: a Japanese face
    // is listed by its English name on other systems.
    lstrcpynW(query.lfFaceName, face.c_str(), LF_FACESIZE);
    bool installed = false;
    EnumFontFamiliesExW(screen.get(), &query, NoteFound, reinterpret_cast<LPARAM>(&installed), 0);
    std::vector<FontFace> japanese;
    if (!installed) {
        query.lfFaceName[0] = L'\0';
        EnumFontFamiliesExW(screen.get(), &query, ListFace, reinterpret_cast<LPARAM>(&japanese), 0);
    }
    return ChooseJapaneseFace(face, installed, japanese);
}

// The system font of a Japanese system, as its logical font reads there. Asked
// for with the Shift-JIS character set elsewhere, the system maps it to its
// own Japanese face.
constexpr int kJapaneseSystemHeight = 18;
constexpr int kJapaneseSystemWidth = 8;
constexpr UINT kJapaneseCodePage = 932;

}  // namespace

HFONT JapaneseSystemFont() {
    if (GetACP() == kJapaneseCodePage) {
        return nullptr;
    }
    static const FontHandle font(
        CreateFontW(kJapaneseSystemHeight, kJapaneseSystemWidth, 0, 0, FW_NORMAL, FALSE, FALSE,
                    FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"System"));
    return font.get();
}

HGDIOBJ JapaneseSystemFontFor(HDC dc) {
    HFONT font = JapaneseSystemFont();
    return font != nullptr ? font : GetCurrentObject(dc, OBJ_FONT);
}

namespace {

// Where the parts of a DLGTEMPLATEEX lie, as offsets in 16-bit units.
struct TemplateLayout {
    size_t face = 0;   // the typeface's first character
    size_t items = 0;  // the first item, DWORD-aligned
};

// Steps over a zero-terminated string at `at`; false when it runs past `count`.
bool SkipString(const WORD* words, size_t count, size_t& at) {
    while (at < count && words[at] != 0) {
        ++at;
    }
    if (at >= count) {
        return false;
    }
    ++at;
    return true;
}

// Steps over a menu or class field: nothing (0), an ordinal (0xFFFF, then
// the number) or a string.
bool SkipNameOrOrdinal(const WORD* words, size_t count, size_t& at) {
    if (at >= count) {
        return false;
    }
    if (words[at] == 0) {
        ++at;
        return true;
    }
    if (words[at] == 0xFFFF) {
        at += 2;
        return at <= count;
    }
    return SkipString(words, count, at);
}

bool FindLayout(const void* source, size_t size, TemplateLayout& layout) {
    // dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y, cx, cy.
    constexpr size_t kHeaderWords = 13;
    const auto* words = static_cast<const WORD*>(source);
    const size_t count = size / sizeof(WORD);
    if (count < kHeaderWords || words[0] != 1 || words[1] != 0xFFFF) {
        return false;
    }
    DWORD style = 0;
    std::memcpy(&style, words + 6, sizeof style);
    if ((style & DS_SETFONT) == 0) {
        return false;
    }
    size_t at = kHeaderWords;
    if (!SkipNameOrOrdinal(words, count, at) || !SkipNameOrOrdinal(words, count, at) ||
        !SkipString(words, count, at)) {
        return false;
    }
    // Point size, weight, italic and character set.
    at += 3;
    layout.face = at;
    if (!SkipString(words, count, at)) {
        return false;
    }
    // A template without items may end right after its typeface.
    layout.items = std::min((at + 1) & ~static_cast<size_t>(1), count);
    return true;
}

}  // namespace

const std::wstring& JapaneseFace(const std::wstring& face) {
    thread_local std::map<std::wstring, std::wstring> chosen;
    auto found = chosen.find(face);
    if (found == chosen.end()) {
        found = chosen.emplace(face, LookUpJapaneseFace(face)).first;
    }
    return found->second;
}

std::wstring DialogFace(const void* source, size_t size) {
    TemplateLayout layout;
    if (!FindLayout(source, size, layout)) {
        return {};
    }
    return reinterpret_cast<const wchar_t*>(static_cast<const WORD*>(source) + layout.face);
}

std::vector<DWORD> WithDialogFace(const void* source, size_t size, const std::wstring& face) {
    TemplateLayout layout;
    if (!FindLayout(source, size, layout)) {
        return {};
    }
    const auto* words = static_cast<const WORD*>(source);
    std::vector<WORD> copy(words, words + layout.face);
    copy.insert(copy.end(), face.begin(), face.end());
    copy.push_back(0);
    // The items keep their alignment: they start on a DWORD in both.
    if (copy.size() % 2 != 0) {
        copy.push_back(0);
    }
    copy.insert(copy.end(), words + layout.items, words + size / sizeof(WORD));
    std::vector<DWORD> aligned((copy.size() + 1) / 2);
    std::memcpy(aligned.data(), copy.data(), copy.size() * sizeof(WORD));
    return aligned;
}
