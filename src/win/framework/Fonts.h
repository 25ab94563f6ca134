#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The face to create a font with when the program wants `face` for its
// Japanese text: `face` itself where the system has it for Shift-JIS, or else
// a Japanese face the system has (ChooseJapaneseFace). Asked of the system
// once per face and thread.
const std::wstring& JapaneseFace(const std::wstring& face);

// Where text is measured or drawn in a device context's own font, as the
// button captions of pages and the message window's lines are: on a Japanese
// system nothing (that font is the Japanese system font); elsewhere a font of
// the Japanese system font's size in a Japanese face, to select in its place,
// so that those texts come out the same under any system language.
HFONT JapaneseSystemFont();
// That font where there is one, else the one `dc` has now: to select into `dc`.
HGDIOBJ JapaneseSystemFontFor(HDC dc);

// A copy of dialog template `source` (a DLGTEMPLATEEX of `size` bytes) with
// its typeface replaced by `face`, or empty when the template is of another
// kind or names no typeface. The copy is DWORD-aligned, as a template must be.
std::vector<DWORD> WithDialogFace(const void* source, size_t size, const std::wstring& face);

// The typeface dialog template `source` names; empty when it names none.
std::wstring DialogFace(const void* source, size_t size);
