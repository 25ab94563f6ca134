#include "picture/ButtonColours.h"

std::optional<ButtonKeys> TakeButtonKeys(const PixelGrid& normal) {
    if (!normal.Holds(1, 1) || !normal.Holds(normal.width - 1, normal.height - 1)) {
        return std::nullopt;
    }
    return ButtonKeys{normal.At(1, 1), normal.At(normal.width - 1, normal.height - 1),
                      normal.At(0, 0)};
}

void RecolorToSystem(PixelGrid& picture, const ButtonKeys& keys,
                     const SystemButtonColours& system) {
    for (int x = 0; x < picture.width; ++x) {
        for (int y = 0; y < picture.height && picture.Holds(x, y); ++y) {
            if (picture.At(x, y) == keys.highlight) {
                picture.Set(x, y, system.highlight);
            }
            if (picture.At(x, y) == keys.shadow) {
                picture.Set(x, y, system.shadow);
            }
            if (picture.At(x, y) == keys.border) {
                picture.Set(x, y, system.border);
            }
        }
    }
}
