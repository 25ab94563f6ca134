#include "text/FontFaces.h"

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
