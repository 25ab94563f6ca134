// .bmp files as pictures load them, then everything the program does with
// the pixels: the header it reports, blank copies, brightening, fades, the
// top-left colour, and drawing in a table cell.

#include <algorithm>
#include <cstdint>
#include <utility>

#include "FuzzHost.h"
#include "FuzzSupport.h"
#include "picture/DibPicture.h"
#include "picture/ImageElement.h"
#include "support/TestCanvas.h"

namespace {

constexpr size_t kProcessedPixelBytes = size_t{4} << 20;

uint32_t Le32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

// What the platform reads: the header and the colour table or masks it
// announces, and the rows its geometry gives.
void CheckAsThePlatformReadsIt(const DibPicture& picture) {
    const std::vector<uint8_t>& info = picture.info();
    FUZZ_CHECK(info.size() >= 40);
    const uint32_t bits = info[14] | (info[15] << 8);
    const uint32_t compression = Le32(info, 16);
    const uint32_t colours = Le32(info, 32);
    size_t table = 0;
    if (compression == 3) {
        table = 12;
    } else if (bits <= 8) {
        table = 4 * size_t{colours != 0 ? colours : (1u << bits)};
    }
    FUZZ_CHECK(info.size() >= 40 + table);

    FUZZ_CHECK(picture.width() > 0 && picture.height() > 0);
    const size_t stride = (static_cast<size_t>(picture.width()) * bits + 31) / 32 * 4;
    FUZZ_CHECK(picture.pixelCapacity() >= stride * static_cast<size_t>(picture.height()));
    FUZZ_CHECK(picture.pixelBytes() <= picture.pixelCapacity());
    picture.TopLeftColour();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QuietMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DibPicture picture;
    if (!picture.LoadFromBytes(data, size)) {
        FUZZ_CHECK(picture.empty() && picture.pixelBytes() == 0);
        return 0;
    }
    CheckAsThePlatformReadsIt(picture);
    // Copies and fades of a picture near the loader's limit take seconds and
    // go the same way as those of small ones.
    if (picture.pixelCapacity() > kProcessedPixelBytes) {
        return 0;
    }
    const int step = size > 0 ? data[size - 1] % 11 - 1 : 0;

    BitmapInfoHeader header;
    FUZZ_CHECK(picture.GetHeader(header));
    DibPicture blank;
    if (blank.CreateBlank(header)) {
        CheckAsThePlatformReadsIt(blank);
        blank.CopyPixels(picture.pixels(), picture.pixelCapacity());
        blank.Brighten(static_cast<uint8_t>(step * 40));
        DibPicture fade;
        FUZZ_CHECK(fade.CreateBlank(header));
        fade.Blend(step, picture, blank);
        fade.BlendRows(step, picture.width(), picture.height(), picture, blank);
        fade.BlendRows(step, 640, 480, blank, picture);
    }
    picture.Brighten(static_cast<uint8_t>(step));
    picture.Blend(step, picture, DibPicture());

    DibPicture moved(std::move(picture));
    FUZZ_CHECK(picture.empty());
    CheckAsThePlatformReadsIt(moved);

    TestCanvas canvas;
    FuzzHost host;
    LinkElement link;
    for (const char* name : {"photo.bmp", "logos.bmp"}) {
        ImageElement element;
        element.picture = &moved;
        element.name = name;
        element.width = moved.width();
        element.height = moved.height();
        element.link = step > 4 ? &link : nullptr;
        element.Draw(canvas, host);
    }
    return 0;
}
