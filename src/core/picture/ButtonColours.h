#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// Tool-button pictures are drawn with three key colours in their frames; the
// bar swaps them for the user's system colours once, when it is made.

// Pixels as colours (red in the low byte), row by row from the top left.
struct PixelGrid {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[Index(x, y)]; }
    void Set(int x, int y, uint32_t colour) { pixels[Index(x, y)] = colour; }
    bool Holds(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && Index(x, y) < pixels.size();
    }

  private:
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    }
};

// The keys, all taken from a button's normal picture.
struct ButtonKeys {
    uint32_t border = 0;     // pixel (1, 1)
    uint32_t shadow = 0;     // the bottom-right pixel
    uint32_t highlight = 0;  // pixel (0, 0)
};

// What they become.
struct SystemButtonColours {
    uint32_t highlight = 0;  // the button highlight
    uint32_t shadow = 0;     // the button shadow
    uint32_t border = 0;     // the active window border
};

// The keys of a normal picture; none for a picture too small to hold them.
std::optional<ButtonKeys> TakeButtonKeys(const PixelGrid& normal);

// Column by column, each from the top: a pixel of the highlight key becomes
// the highlight colour; then, read again, one of the shadow key the shadow
// colour; then, read again, one of the border key the border colour. A pixel
// may so change more than once.
void RecolorToSystem(PixelGrid& picture, const ButtonKeys& keys, const SystemButtonColours& system);
