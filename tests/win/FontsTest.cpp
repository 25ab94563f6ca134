#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/Fonts.h"
#include "framework/Gdi.h"
#include "resource.h"

namespace {

// The face a font handle asks for.
std::wstring FaceOf(HFONT font) {
    LOGFONTW logFont{};
    GetObjectW(font, sizeof logFont, &logFont);
    return logFont.lfFaceName;
}

// Whether the face selected into `dc` has its own glyphs for all of `text`.
bool HasGlyphs(HDC dc, const std::wstring& text) {
    std::vector<WORD> glyphs(text.size());
    if (GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        return false;
    }
    for (WORD glyph : glyphs) {
        if (glyph == 0xFFFF) {
            return false;
        }
    }
    return true;
}

TEST(Fonts, TheFacesThePagesAndDialogsAskForDrawKanaKanjiAndLatinLetters) {
    WindowDC screen(nullptr);
    for (const std::wstring wanted : {L"ＭＳ ゴシック", L"ＭＳ Ｐゴシック"}) {
        const std::wstring& face = JapaneseFace(wanted);
        FontHandle font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    FIXED_PITCH, face.c_str()));
        SelectInto select(screen.get(), font.get());
        EXPECT_TRUE(HasGlyphs(screen.get(), L"霧見坂あア Brivane 0123")) << face;
        EXPECT_NE(face[0], L'@');
        EXPECT_EQ(&JapaneseFace(wanted), &face) << "asked of the system again";
    }
}

// A DLGTEMPLATEEX in memory: `face` for its font, then a static text and a
// button, each with its caption.
std::vector<WORD> MakeTemplate(const std::wstring& face) {
    std::vector<WORD> t;
    auto put32 = [&t](DWORD value) {
        t.push_back(LOWORD(value));
        t.push_back(HIWORD(value));
    };
    auto putText = [&t](const std::wstring& text) {
        t.insert(t.end(), text.begin(), text.end());
        t.push_back(0);
    };
    auto align = [&t] {
        if (t.size() % 2 != 0) {
            t.push_back(0);
        }
    };
    t = {1, 0xFFFF};
    put32(0);
    put32(0);
    put32(DS_SETFONT | WS_POPUP | WS_CAPTION);
    t.insert(t.end(), {2, 0, 0, 120, 40, 0, 0});
    putText(L"見出し");
    t.insert(t.end(), {9, FW_NORMAL, 0x0100});  // 9 points, not italic, DEFAULT_CHARSET
    putText(face);
    const struct {
        DWORD id;
        WORD kind;
        const wchar_t* text;
    } items[] = {{101, 0x0082, L"本文の行"}, {IDOK, 0x0080, L"はい"}};
    for (const auto& item : items) {
        align();
        put32(0);
        put32(0);
        put32(WS_CHILD | WS_VISIBLE);
        t.insert(t.end(), {5, 5, 60, 12});
        put32(item.id);
        t.insert(t.end(), {0xFFFF, item.kind});
        putText(item.text);
        t.push_back(0);
    }
    return t;
}

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::wstring ItemText(HWND dialog, int id) {
    wchar_t text[32] = L"";
    GetDlgItemTextW(dialog, id, text, 32);
    return text;
}

TEST(Fonts, ADialogTemplateTakesAnotherFaceAndKeepsItsItems) {
    const std::vector<WORD> source = MakeTemplate(L"ＭＳ Ｐゴシック");
    const size_t size = source.size() * sizeof(WORD);
    EXPECT_EQ(DialogFace(source.data(), size), L"ＭＳ Ｐゴシック");
    // Faces whose ends fall on either half of a DWORD: the items move.
    for (const std::wstring& face :
         std::vector<std::wstring>{L"Tahoma", JapaneseFace(L"ＭＳ Ｐゴシック")}) {
        const std::vector<DWORD> patched = WithDialogFace(source.data(), size, face);
        ASSERT_FALSE(patched.empty());
        EXPECT_EQ(DialogFace(patched.data(), patched.size() * sizeof(DWORD)), face);
        HWND dialog = CreateDialogIndirectParamW(
            GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(patched.data()),
            nullptr, QuietProc, 0);
        ASSERT_NE(dialog, nullptr) << face;
        EXPECT_EQ(FaceOf(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0))), face);
        EXPECT_EQ(ItemText(dialog, 101), L"本文の行");
        EXPECT_EQ(ItemText(dialog, IDOK), L"はい");
        DestroyWindow(dialog);
    }
    // A template of the old kind, or without a font, is left alone.
    std::vector<WORD> old = source;
    old[0] = 0;
    EXPECT_TRUE(WithDialogFace(old.data(), size, L"Tahoma").empty());
    std::vector<WORD> fontless = source;
    fontless[6] = static_cast<WORD>(fontless[6] & ~DS_SETFONT);
    EXPECT_EQ(DialogFace(fontless.data(), size), L"");
}

TEST(Fonts, AProgramDialogShowsInTheFaceChosenForItsOwn) {
    CDialog dialog(IDD_FAVOURITE_ADD);
    ASSERT_TRUE(dialog.Create());
    const HFONT font =
        reinterpret_cast<HFONT>(SendMessageW(dialog.GetSafeHwnd(), WM_GETFONT, 0, 0));
    EXPECT_EQ(FaceOf(font), JapaneseFace(L"ＭＳ Ｐゴシック"));
    HWND yes = GetDlgItem(dialog.GetSafeHwnd(), IDOK);
    ASSERT_NE(yes, nullptr);
    EXPECT_EQ(ItemText(dialog.GetSafeHwnd(), IDOK), L"はい");
    DestroyWindow(dialog.GetSafeHwnd());
}

}  // namespace
