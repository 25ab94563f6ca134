#include "text/FontFaces.h"

#include <algorithm>

std::wstring ChooseJapaneseFace(const std::wstring& wanted, bool installed,
                                const std::vector<FontFace>& japanese) {
    if (installed) {
        return wanted;
    }
    const FontFace* anyFace = nullptr;
    for (const FontFace& face : japanese) {
        if (face.name.empty() || face.name[0] == L'@') {
            continue;
        }
        if (face.fixedPitch) {
            return face.name;
        }
        if (anyFace == nullptr) {
            anyFace = &face;
        }
    }
    return anyFace != nullptr ? anyFace->name : wanted;
}

int SystemFontTextWidth(std::string_view cp932) {
    // Every byte of a character is one narrow cell: a double-byte character
    // two of them, a lead byte left without its trail byte one.
    return static_cast<int>(std::min<size_t>(cp932.size(), 100000)) * kSystemFontNarrow;
}
