#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../../support/BmpBuilder.h"
#include "../../support/MessageRecorder.h"
#include "../../support/TestFiles.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "picture/DibPicture.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Pixel rows of 24-bit colours, each row padded to four bytes.
Bytes Rows24(const std::vector<std::vector<Colour>>& rows) {
    Bytes out;
    for (const auto& row : rows) {
        for (Colour c : row) {
            out.insert(out.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                   static_cast<uint8_t>(c)});
        }
        out.resize((out.size() + 3) / 4 * 4, 0);
    }
    return out;
}

Bytes Sequence(size_t count, uint8_t first = 1) {
    Bytes out(count);
    for (size_t i = 0; i < count; ++i) {
        out[i] = static_cast<uint8_t>(first + i);
    }
    return out;
}

// Loads from an exact-size copy, so that any read past the file's end is caught.
bool LoadExact(DibPicture& picture, const Bytes& file) {
    return picture.LoadFromBytes(file.data(), file.size());
}

Bytes PixelsOf(const DibPicture& picture) {
    return {picture.pixels(), picture.pixels() + picture.pixelCapacity()};
}

// A blank 32-bit picture of `size` bytes with every byte `value`.
void Filled(DibPicture& picture, size_t size, uint8_t value) {
    if (size == 0) {
        return;
    }
    BitmapInfoHeader h;
    h.width = static_cast<int32_t>(size / 4);
    h.height = 1;
    h.bitCount = 32;
    h.imageSize = static_cast<uint32_t>(size);
    ASSERT_TRUE(picture.CreateBlank(h));
    const Bytes bytes(size, value);
    picture.CopyPixels(bytes.data(), bytes.size());
}

TEST(PictureName, JpgOrGifBecomesBmpAndOtherNamesAreRefused) {
    struct Case {
        std::string name;
        bool accepted;
        std::string result;
    };
    const std::string longTail(300, 'a');
    const std::vector<Case> cases = {
        {"photo.jpg", true, "photo.bmp"},
        {"photo.gif", true, "photo.bmp"},
        {"photo.bmp", true, "photo.bmp"},
        {"bmp", true, "bmp"},
        {"jpg.jpg", true, "bmp.jpg"},  // only the first occurrence
        {"gif.jpg", true, "gif.bmp"},  // jpg is looked for first
        {"jpgfile", true, "bmpfile"},
        {"PHOTO.BMP", false, "PHOTO.BMP"},
        {"photo.JPG", false, "photo.JPG"},
        {"photo.png", false, "photo.png"},
        {"", false, ""},
        {"pic" + longTail + ".jpg", false, "pic" + longTail + ".jpg"},  // beyond 255 bytes
        {"jpg" + longTail, true, "bmp" + longTail.substr(0, 252)},
        {std::string("a\0.jpg", 6), false, std::string("a\0.jpg", 6)},  // ends at the zero
    };
    for (const Case& c : cases) {
        std::string name = c.name;
        EXPECT_EQ(DibPicture::NormalizeName(name), c.accepted) << c.name;
        EXPECT_EQ(name, c.result) << c.name;
    }
}

class PictureLoad : public ::testing::Test {
  protected:
    // Writes an archive named `file` holding the given entries and opens it.
    void MakeArchive(Archive& archive, const std::string& file,
                     const std::vector<ArchiveInput>& inputs) {
        WriteBytes(dir.File(file), *BuildArchive(inputs));
        archive.Open(dir.File(file));
        ASSERT_TRUE(archive.loaded());
    }
    static Bytes Solid(Colour c) { return MakeBmp(2, 1, 24, Rows24({{c, c}})); }

    TempDir dir;
    MessageRecorder messages;
    Archive cg, ex, parts;
    PictureSources sources{&cg, &ex, &parts};
    DibPicture picture;
};

TEST_F(PictureLoad, UnrecognisedNameIsToldAndRefused) {
    EXPECT_FALSE(picture.Load("PHOTO.BMP", sources));
    EXPECT_EQ(MessageRecorder::Messages(),
              std::vector<std::string>{"正体不明なファイル名です。PHOTO.BMP"});
    EXPECT_TRUE(picture.empty());

    MessageRecorder::Messages().clear();
    EXPECT_FALSE(picture.Load(std::string(400, 'x'), sources));
    ASSERT_EQ(MessageRecorder::Messages().size(), 1u);
    EXPECT_EQ(MessageRecorder::Messages()[0].size(), 255u);
}

TEST_F(PictureLoad, FirstOfCgExPartsHoldingTheNameWins) {
    const Colour red = MakeColour(255, 0, 0), green = MakeColour(0, 255, 0),
                 blue = MakeColour(0, 0, 255);
    MakeArchive(cg, "cg.arc", {{"other.bmp", Solid(0)}, {"both.bmp", Solid(red)}});
    MakeArchive(ex, "ex.arc", {{"EXONLY.BMP", Solid(green)}, {"late.bmp", Solid(green)}});
    MakeArchive(parts, "parts.arc",
                {{"both.bmp", Solid(blue)}, {"late.bmp", Solid(blue)}, {"part.bmp", Solid(blue)}});
    struct Case {
        std::string name;
        std::string stored;
        Colour colour;
    };
    for (const Case& c : std::vector<Case>{{"both.jpg", "both.bmp", red},
                                           {"late.gif", "late.bmp", green},
                                           {"exonly.bmp", "exonly.bmp", green},
                                           {"part.bmp", "part.bmp", blue}}) {
        picture.Unload();
        EXPECT_TRUE(picture.Load(c.name, sources)) << c.name;
        EXPECT_EQ(picture.name(), c.stored);
        EXPECT_EQ(picture.TopLeftColour(), c.colour) << c.name;
    }
    // Missing archives are skipped.
    picture.Unload();
    EXPECT_TRUE(picture.Load("part.bmp", PictureSources{nullptr, nullptr, &parts}));
    EXPECT_EQ(picture.TopLeftColour(), blue);
    EXPECT_TRUE(MessageRecorder::Messages().empty());
}

TEST_F(PictureLoad, EntryFoundCountsEvenWhenItMakesNoPicture) {
    Bytes rle = MakeBmp(2, 2, 8);
    bmp::Put32(rle, bmp::kCompressionAt, 1);
    MakeArchive(cg, "cg.arc", {{"rle.bmp", rle}, {"lost.bmp", Solid(1)}});
    EXPECT_TRUE(picture.Load("rle.bmp", sources));
    EXPECT_TRUE(picture.empty());
    EXPECT_EQ(picture.pixelBytes(), 0u);
}

TEST_F(PictureLoad, AnEntryThatCannotBeReadCountsAsMissing) {
    MakeArchive(cg, "cg.arc", {{"lost.bmp", Solid(1)}});
    MakeArchive(parts, "parts.arc", {{"lost.bmp", Solid(MakeColour(0, 9, 0))}});
    // The record promises more than its data can hold: the entry cannot be read.
    Bytes damaged = ReadBytes(dir.File("cg.arc"));
    bmp::Put32(damaged, 4 + 20, 0xFFFFFFF0);
    WriteBytes(dir.File("cg.arc"), damaged);
    Archive broken;
    broken.Open(dir.File("cg.arc"));
    EXPECT_TRUE(picture.Load("lost.bmp", PictureSources{&broken, nullptr, &parts}));
    EXPECT_EQ(picture.TopLeftColour(), MakeColour(0, 9, 0));

    // Then the loose file of that name.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    WriteBytes("lost.bmp", Solid(MakeColour(7, 7, 7)));
    const bool loaded = picture.Load("lost.bmp", PictureSources{&broken});
    std::filesystem::current_path(previous);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(picture.TopLeftColour(), MakeColour(7, 7, 7));
}

TEST_F(PictureLoad, LooseFileInTheCurrentFolderWhenNoArchiveHoldsIt) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    WriteBytes("loose.bmp", Solid(MakeColour(1, 2, 3)));
    MakeArchive(parts, "parts.arc", {{"other.bmp", Solid(0)}});

    const bool loaded = picture.Load("loose.gif", sources);
    const Colour colour = picture.TopLeftColour();
    DibPicture missing;
    const bool found = missing.Load("absent.jpg", sources);
    std::filesystem::current_path(previous);

    EXPECT_TRUE(loaded);
    EXPECT_EQ(colour, MakeColour(1, 2, 3));
    EXPECT_FALSE(found);
    EXPECT_TRUE(missing.empty());
    EXPECT_EQ(missing.name(), "absent.bmp");
    EXPECT_TRUE(MessageRecorder::Messages().empty());
}

TEST(PictureBytes, TakesTwoBytesLessPixelDataThanTheFileAnnounces) {
    const Bytes file = MakeBmp(4, 1, 24, Sequence(12));
    DibPicture picture;
    ASSERT_TRUE(LoadExact(picture, file));
    EXPECT_EQ(picture.pixelBytes(), 10u);
    EXPECT_EQ(PixelsOf(picture), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 0}));
    // The platform's header says 40 bytes and the pixel count taken.
    ASSERT_EQ(picture.info().size(), 40u);
    EXPECT_EQ(bmp::Get32(picture.info(), 0), 40u);
    EXPECT_EQ(bmp::Get32(picture.info(), 20), 10u);
    EXPECT_EQ(picture.width(), 4);
    EXPECT_EQ(picture.height(), 1);
}

TEST(PictureBytes, DamagedFilesLoadWithoutHarm) {
    // 4 x 2 at 24 bits: 24 bytes of pixels 1..24 at offset 54, 78 bytes in all.
    const Bytes good = MakeBmp(4, 2, 24, Sequence(24));
    const auto with = [&good](size_t at, uint32_t value, size_t at2 = 0, uint32_t value2 = 0) {
        Bytes b = good;
        bmp::Put32(b, at, value);
        if (at2 != 0) {
            bmp::Put32(b, at2, value2);
        }
        return b;
    };
    const auto with16 = [&good](size_t at, uint16_t value) {
        Bytes b = good;
        bmp::Put16(b, at, value);
        return b;
    };
    struct Case {
        const char* what;
        Bytes file;
        bool loaded;
        uint32_t pixelBytes = 0;
        int firstPixel = 0;
    };
    const std::vector<Case> cases = {
        {"intact", good, true, 22, 1},
        {"empty", {}, false},
        {"file header only", Bytes(good.begin(), good.begin() + 14), false},
        {"cut in the information header", Bytes(good.begin(), good.begin() + 53), false},
        {"cut after the headers", Bytes(good.begin(), good.begin() + 54), true, 22, 0},
        {"cut in the pixels", Bytes(good.begin(), good.begin() + 60), true, 22, 1},
        {"file size far too large", with(bmp::kFileSizeAt, 0xFFFFFFFF), true, 24, 1},
        {"file size below the offset", with(bmp::kFileSizeAt, 20), true, 0, 0},
        {"offset past the end", with(bmp::kOffsetAt, 1000), true, 0, 0},
        {"offset past the end, file size far too large",
         with(bmp::kOffsetAt, 1000, bmp::kFileSizeAt, 0xFFFFFFFF), true, 24, 0},
        {"offset at the end of 32 bits", with(bmp::kOffsetAt, 0xFFFFFFF0), true, 0, 0},
        {"offset inside the headers", with(bmp::kOffsetAt, 14), true, 24, 40},
        {"run-length 8 bits", with(bmp::kCompressionAt, 1), false},
        {"bit fields at 24 bits", with(bmp::kCompressionAt, 3), false},
        {"2 bits per pixel", with16(bmp::kBitCountAt, 2), false},
        {"0 bits per pixel", with16(bmp::kBitCountAt, 0), false},
        {"two planes", with16(bmp::kPlanesAt, 2), false},
        {"zero width", with(bmp::kWidthAt, 0), false},
        {"negative width", with(bmp::kWidthAt, 0xFFFFFFFC), false},
        {"zero height", with(bmp::kHeightAt, 0), false},
        {"lowest height", with(bmp::kHeightAt, 0x80000000), false},
        {"width past the limit", with(bmp::kWidthAt, 16385), false},
        {"huge width", with(bmp::kWidthAt, 100000000), false},
        {"768 MiB of pixels", with(bmp::kWidthAt, 16384, bmp::kHeightAt, 0xFFFFC000), false},
        {"core header", with(bmp::kHeaderSizeAt, 12), false},
        {"header larger than the file", with(bmp::kHeaderSizeAt, 0xFFFFFFFF), true, 22, 1},
    };
    for (const Case& c : cases) {
        DibPicture picture;
        EXPECT_EQ(LoadExact(picture, c.file), c.loaded) << c.what;
        EXPECT_EQ(picture.empty(), !c.loaded) << c.what;
        EXPECT_EQ(picture.pixelBytes(), c.pixelBytes) << c.what;
        EXPECT_LE(picture.pixelBytes(), picture.pixelCapacity()) << c.what;
        if (c.loaded) {
            EXPECT_EQ(picture.pixels()[0], c.firstPixel) << c.what;
        }
        // Everything else must work on whatever came out.
        picture.Brighten(1);
        picture.Blend(4, picture, picture);
        picture.TopLeftColour();
    }
}

// Found by fuzzing: a page of pictures whose headers each asked for 256 MiB
// took gigabytes from a few hundred bytes of page and picture.
TEST(PictureBytes, PixelMemoryStopsAtAWholePageAt32Bits) {
    const auto declared = [](uint32_t width, uint32_t height) {
        Bytes file = MakeBmp(1, 1, 32);
        bmp::Put32(file, bmp::kWidthAt, width);
        bmp::Put32(file, bmp::kHeightAt, height);
        return file;
    };
    DibPicture picture;
    ASSERT_TRUE(LoadExact(picture, declared(1400, 2600)));
    EXPECT_EQ(picture.pixelCapacity(), 1400u * 2600 * 4);
    EXPECT_TRUE(LoadExact(picture, declared(16384, 256)));  // 16 MiB
    EXPECT_FALSE(LoadExact(picture, declared(16384, 257)));
    EXPECT_FALSE(LoadExact(picture, declared(4096, 4096)));

    BitmapInfoHeader h;
    h.width = 4096;
    h.height = 4096;
    h.bitCount = 32;
    EXPECT_FALSE(picture.CreateBlank(h));
    h.height = 1024;
    EXPECT_TRUE(picture.CreateBlank(h));
}

TEST(PictureBytes, ColourTablesAndMasksFollowTheHeader) {
    const Colour red = MakeColour(255, 0, 0), green = MakeColour(0, 200, 0);
    // Eight bits with two colours, then told to expect all 256: the rest of
    // the table is missing from the file and reads as black.
    Bytes shortTable = MakeBmp(4, 1, 8, {1, 0, 0, 0}, {red, green});
    bmp::Put32(shortTable, bmp::kClrUsedAt, 0);
    DibPicture picture;
    ASSERT_TRUE(LoadExact(picture, shortTable));
    ASSERT_EQ(picture.info().size(), 40u + 256 * 4);
    EXPECT_EQ(bmp::Get32(picture.info(), 32), 256u);
    EXPECT_EQ(picture.TopLeftColour(), green);
    EXPECT_EQ(bmp::Get32(picture.info(), 40 + 200 * 4), 0u);

    // A colour count no table of eight bits can have is the whole table.
    Bytes absurd = MakeBmp(4, 1, 8, {1, 0, 0, 0}, {red, green});
    bmp::Put32(absurd, bmp::kClrUsedAt, 0xFFFFFFFF);
    ASSERT_TRUE(LoadExact(picture, absurd));
    EXPECT_EQ(picture.info().size(), 40u + 256 * 4);
    EXPECT_EQ(bmp::Get32(picture.info(), 32), 256u);
    EXPECT_EQ(picture.TopLeftColour(), green);

    // A 124-byte header: the table comes after all of it, the platform gets 40.
    Bytes large = MakeBmp(4, 1, 8, {1, 0, 0, 0}, {red, green});
    large.insert(large.begin() + bmp::kHeadersSize, 84, 0xEE);
    bmp::Put32(large, bmp::kHeaderSizeAt, 124);
    bmp::Put32(large, bmp::kOffsetAt, bmp::Get32(large, bmp::kOffsetAt) + 84);
    bmp::Put32(large, bmp::kFileSizeAt, static_cast<uint32_t>(large.size()));
    ASSERT_TRUE(LoadExact(picture, large));
    EXPECT_EQ(bmp::Get32(picture.info(), 0), 40u);
    EXPECT_EQ(picture.info().size(), 40u + 2 * 4);
    EXPECT_EQ(picture.TopLeftColour(), green);

    // A header size that points the table past the end of the file.
    bmp::Put32(large, bmp::kHeaderSizeAt, 0xFFFFFFFF);
    ASSERT_TRUE(LoadExact(picture, large));
    EXPECT_EQ(picture.info().size(), 40u + 2 * 4);
    EXPECT_EQ(picture.TopLeftColour(), 0u);

    // 16 bits in 5-6-5: the three masks come right after the 40 bytes, and
    // no colours after them, whatever the file says.
    Bytes fields = MakeBitFieldsBmp(2, 1, 16, {0x00, 0xF8, 0, 0}, {0xF800, 0x07E0, 0x001F});
    bmp::Put32(fields, bmp::kClrUsedAt, 16);
    ASSERT_TRUE(LoadExact(picture, fields));
    ASSERT_EQ(picture.info().size(), 52u);
    EXPECT_EQ(bmp::Get32(picture.info(), 16), 3u);
    EXPECT_EQ(bmp::Get32(picture.info(), 32), 0u);
    EXPECT_EQ(bmp::Get32(picture.info(), 40), 0xF800u);
    EXPECT_EQ(picture.TopLeftColour(), red);
}

TEST(PictureColour, TopLeftIsThePixelShownAtTheTopLeft) {
    const Colour a = MakeColour(10, 20, 30), b = MakeColour(40, 50, 60);
    const Colour white = MakeColour(255, 255, 255);
    struct Case {
        const char* what;
        Bytes file;
        Colour expected;
    };
    const std::vector<Case> cases = {
        {"24 bits bottom-up", MakeBmp(2, 2, 24, Rows24({{a, a}, {b, a}})), b},
        {"24 bits top-down", MakeBmp(2, -2, 24, Rows24({{a, a}, {b, a}})), a},
        {"32 bits bottom-up",
         MakeBmp(2, 2, 32, {30, 20, 10, 0, 30, 20, 10, 0, 60, 50, 40, 0, 0, 0, 0, 0}), b},
        {"8 bits bottom-up", MakeBmp(2, 2, 8, {0, 0, 0, 0, 2, 0, 0, 0}, {a, a, b}), b},
        {"8 bits index past the table", MakeBmp(1, 1, 8, {9, 0, 0, 0}, {a}), 0},
        {"4 bits: the high half", MakeBmp(2, -1, 4, {0x10, 0, 0, 0}, {a, b}), b},
        {"1 bit: the high bit", MakeBmp(8, 1, 1, {0x80, 0, 0, 0}), white},
        {"16 bits as 5-5-5", MakeBmp(2, 1, 16, {0x1F, 0x7C, 0, 0}), MakeColour(255, 0, 255)},
    };
    for (const Case& c : cases) {
        DibPicture picture;
        ASSERT_TRUE(LoadExact(picture, c.file)) << c.what;
        EXPECT_EQ(picture.TopLeftColour(), c.expected) << c.what;
    }
    EXPECT_EQ(DibPicture().TopLeftColour(), 0u);
}

// Every pixel where the page's canvas draws it: rows from the top, the bits
// of palette pictures from each byte's high end, and out of range nothing.
TEST(PictureColour, EveryPixelAsAWebCanvasTakesIt) {
    const Colour a = MakeColour(10, 20, 30), b = MakeColour(40, 50, 60);
    const Colour c = MakeColour(70, 80, 90), d = MakeColour(1, 2, 3);
    DibPicture bottomUp;
    ASSERT_TRUE(LoadExact(bottomUp, MakeBmp(3, 2, 24, Rows24({{a, b, c}, {d, a, b}}))));
    // Stored bottom row first: the first stored row is the picture's last.
    EXPECT_EQ(bottomUp.ColourAt(0, 0), d);
    EXPECT_EQ(bottomUp.ColourAt(2, 0), b);
    EXPECT_EQ(bottomUp.ColourAt(1, 1), b);
    EXPECT_EQ(bottomUp.ColourAt(2, 1), c);
    EXPECT_EQ(bottomUp.ColourAt(3, 0), 0u);
    EXPECT_EQ(bottomUp.ColourAt(0, 2), 0u);
    EXPECT_EQ(bottomUp.ColourAt(-1, 0), 0u);

    DibPicture nibbles;  // 3 x 1 at 4 bits: indexes 1, 2, 0 in 0x12 0x00
    ASSERT_TRUE(LoadExact(nibbles, MakeBmp(3, -1, 4, {0x12, 0x00, 0, 0}, {a, b, c})));
    EXPECT_EQ(nibbles.ColourAt(0, 0), b);
    EXPECT_EQ(nibbles.ColourAt(1, 0), c);
    EXPECT_EQ(nibbles.ColourAt(2, 0), a);
    DibPicture bits;  // 10 x 1 at 1 bit: only pixels 1 and 9 set
    ASSERT_TRUE(LoadExact(bits, MakeBmp(10, 1, 1, {0x40, 0x40, 0, 0}, {a, b})));
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(bits.ColourAt(x, 0), x == 1 || x == 9 ? b : a) << x;
    }

    // RGBA, top row first; the top-left colour left out only when asked.
    const std::vector<uint8_t> opaque = bottomUp.ToRgba(false);
    const std::vector<uint8_t> keyed = bottomUp.ToRgba(true);
    ASSERT_EQ(opaque.size(), 3u * 2u * 4u);
    EXPECT_EQ(std::vector<uint8_t>(opaque.begin(), opaque.begin() + 8),
              (std::vector<uint8_t>{1, 2, 3, 255, 10, 20, 30, 255}));
    EXPECT_EQ(std::vector<uint8_t>(opaque.end() - 4, opaque.end()),
              (std::vector<uint8_t>{70, 80, 90, 255}));
    std::vector<uint8_t> alphas;
    for (size_t i = 3; i < keyed.size(); i += 4) {
        alphas.push_back(keyed[i]);
    }
    EXPECT_EQ(alphas, (std::vector<uint8_t>{0, 255, 255, 255, 255, 255}));
    EXPECT_TRUE(DibPicture().ToRgba(true).empty());

    // Every format, stored either way up, converts pixel for pixel as read.
    DibPicture topDown;
    ASSERT_TRUE(LoadExact(topDown, MakeBmp(3, -2, 24, Rows24({{a, b, c}, {d, a, b}}))));
    for (const DibPicture* picture : {&bottomUp, &topDown, &nibbles, &bits}) {
        std::vector<uint8_t> rgba{9, 9};  // a reused buffer's old bytes go
        picture->ToRgba(false, rgba);
        ASSERT_EQ(rgba.size(), static_cast<size_t>(picture->width() * picture->height() * 4));
        for (int y = 0; y < picture->height(); ++y) {
            for (int x = 0; x < picture->width(); ++x) {
                const uint8_t* p = &rgba[static_cast<size_t>((y * picture->width() + x) * 4)];
                EXPECT_EQ(MakeColour(p[0], p[1], p[2]), picture->ColourAt(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(topDown.ColourAt(0, 0), a);
}

TEST(PictureFade, BlendMixesInEighthsByteByByte) {
    struct Case {
        uint8_t from, to;
        int step;
        uint8_t expected;
    };
    const std::vector<Case> cases = {
        {0, 255, 4, 127}, {255, 0, 4, 127},  {10, 200, 0, 10}, {10, 200, 8, 200},
        {10, 200, 3, 81}, {200, 10, 3, 128}, {255, 0, 1, 223}, {0, 255, 7, 223},
        {0, 255, 9, 255}, {0, 255, -1, 0},  // steps outside 0..8 are held at the ends
    };
    for (const Case& c : cases) {
        DibPicture out, from, to;
        Filled(out, 8, 99);
        Filled(from, 8, c.from);
        Filled(to, 8, c.to);
        out.Blend(c.step, from, to);
        EXPECT_EQ(PixelsOf(out), Bytes(8, c.expected))
            << int{c.from} << " to " << int{c.to} << " step " << c.step;
    }
}

TEST(PictureFade, BlendCoversWholeFoursOfThisPicturesPixelBytes) {
    // 12 bytes of pixels, 10 of them taken from the file: 8 are blended.
    DibPicture out, from, to;
    ASSERT_TRUE(LoadExact(out, MakeBmp(4, 1, 24, Sequence(12))));
    Filled(from, 12, 0);
    Filled(to, 12, 255);
    out.Blend(8, from, to);
    EXPECT_EQ(PixelsOf(out), (Bytes{255, 255, 255, 255, 255, 255, 255, 255, 9, 10, 0, 0}));
}

TEST(PictureFade, FadesStayInsideTheSmallestPicture) {
    struct Case {
        size_t self, from, to;
        size_t changed;
    };
    const std::vector<Case> cases = {
        {64, 8, 64, 8}, {64, 64, 12, 12}, {8, 64, 64, 8}, {64, 0, 64, 0}, {64, 64, 0, 0},
    };
    for (const Case& c : cases) {
        for (bool rows : {false, true}) {
            DibPicture out, from, to;
            Filled(out, c.self, 7);
            Filled(from, c.from, 100);
            Filled(to, c.to, 200);
            if (rows) {
                out.BlendRows(8, 640, 80, from, to);
            } else {
                out.Blend(8, from, to);
            }
            Bytes expected(c.self, 7);
            std::fill_n(expected.begin(), c.changed, 200);
            EXPECT_EQ(PixelsOf(out), expected) << c.self << " " << c.from << " " << c.to;
        }
    }
}

TEST(PictureFade, BlendRowsTakesWidthTimesHeightTimesThreeBytes) {
    DibPicture out, from, to;
    Filled(out, 48, 1);
    Filled(from, 48, 0);
    Filled(to, 48, 255);
    out.BlendRows(4, 2, 3, from, to);
    Bytes expected(48, 1);
    std::fill_n(expected.begin(), 18, 127);
    EXPECT_EQ(PixelsOf(out), expected);

    out.BlendRows(8, -2, 3, from, to);
    EXPECT_EQ(PixelsOf(out), expected);
}

TEST(PictureFade, BrightenSaturatesWholeFoursOfPixelBytes) {
    DibPicture picture;
    ASSERT_TRUE(
        LoadExact(picture, MakeBmp(4, 1, 24, {0, 100, 245, 246, 250, 255, 1, 2, 3, 4, 5, 6})));
    picture.Brighten(10);
    EXPECT_EQ(PixelsOf(picture), (Bytes{10, 110, 255, 255, 255, 255, 11, 12, 3, 4, 0, 0}));
}

TEST(PictureBlank, HeaderOfAPictureAndABlankOfTheSameGeometry) {
    struct Case {
        int width, height, bits;
        uint32_t imageSize;
    };
    // Whole bytes per pixel, no row padding: 1 bit counts a tenth, 4 bits a half.
    const std::vector<Case> cases = {
        {5, 3, 24, 45}, {5, -3, 32, 60}, {5, 3, 16, 30}, {5, 3, 8, 15}, {5, 3, 4, 7}, {20, 3, 1, 6},
    };
    for (const Case& c : cases) {
        DibPicture picture;
        ASSERT_TRUE(LoadExact(picture, MakeBmp(c.width, c.height, c.bits)));
        BitmapInfoHeader h;
        ASSERT_TRUE(picture.GetHeader(h));
        EXPECT_EQ(h.size, 40u);
        EXPECT_EQ(h.width, c.width);
        EXPECT_EQ(h.height, std::abs(c.height));
        EXPECT_EQ(h.bitCount, c.bits);
        EXPECT_EQ(h.imageSize, c.imageSize) << c.bits;

        DibPicture blank;
        ASSERT_TRUE(blank.CreateBlank(h));
        EXPECT_EQ(blank.pixelBytes(), c.imageSize);
        EXPECT_EQ(blank.pixelCapacity(), bmp::Stride(c.width, c.bits) * 3);
        EXPECT_EQ(PixelsOf(blank), Bytes(blank.pixelCapacity(), 0));
    }
    BitmapInfoHeader h;
    EXPECT_FALSE(DibPicture().GetHeader(h));
}

TEST(PictureBlank, PaletteBlanksGetAGreyRampAndBadHeadersNothing) {
    BitmapInfoHeader h;
    h.width = 3;
    h.height = 2;
    h.bitCount = 8;
    h.imageSize = 1000;  // more than the picture holds
    DibPicture blank;
    ASSERT_TRUE(blank.CreateBlank(h));
    EXPECT_EQ(blank.pixelBytes(), 8u);
    ASSERT_EQ(blank.info().size(), 40u + 256 * 4);
    EXPECT_EQ(bmp::Get32(blank.info(), 40), 0u);
    EXPECT_EQ(bmp::Get32(blank.info(), 40 + 128 * 4), 0x808080u);
    EXPECT_EQ(bmp::Get32(blank.info(), 40 + 255 * 4), 0xFFFFFFu);

    const std::vector<std::function<void(BitmapInfoHeader&)>> damages = {
        [](BitmapInfoHeader& x) { x.compression = 1; },
        [](BitmapInfoHeader& x) { x.compression = 3; },
        [](BitmapInfoHeader& x) { x.height = INT_MIN; },
    };
    for (const auto& damage : damages) {
        BitmapInfoHeader bad = h;
        damage(bad);
        EXPECT_FALSE(blank.CreateBlank(bad));
        EXPECT_TRUE(blank.empty());
        EXPECT_EQ(blank.pixelBytes(), 0u);
    }
}

TEST(PictureBlank, CopyPixelsTakesAtMostPixelBytesAndMoveAndUnloadEmpty) {
    DibPicture picture;
    ASSERT_TRUE(LoadExact(picture, MakeBmp(4, 1, 24)));
    const Bytes source = Sequence(16, 50);
    picture.CopyPixels(source.data(), 3);
    EXPECT_EQ(PixelsOf(picture), (Bytes{50, 51, 52, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    picture.CopyPixels(source.data(), source.size());
    EXPECT_EQ(PixelsOf(picture), (Bytes{50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 0, 0}));

    DibPicture moved(std::move(picture));
    EXPECT_EQ(moved.pixelBytes(), 10u);
    EXPECT_TRUE(picture.empty());  // NOLINT(bugprone-use-after-move): left usable
    EXPECT_EQ(picture.TopLeftColour(), 0u);
    picture = std::move(moved);
    EXPECT_EQ(picture.pixelBytes(), 10u);
    EXPECT_TRUE(moved.empty());  // NOLINT(bugprone-use-after-move)

    picture.Unload();
    EXPECT_TRUE(picture.empty());
    EXPECT_EQ(picture.name(), "");
    EXPECT_EQ(picture.pixelBytes(), 0u);
    EXPECT_EQ(picture.width(), 0);
    EXPECT_EQ(picture.height(), 0);
    picture.CopyPixels(source.data(), source.size());
    EXPECT_EQ(picture.pixelCapacity(), 0u);
}

TEST(PictureFade, OnlyPicturesLaidOutAlikeMayBeBlendedAndCopiesAreWhole) {
    DibPicture window;
    ASSERT_TRUE(LoadExact(window, MakeBmp(4, 2, 24, Sequence(24))));
    const auto loaded = [](Bytes file) {
        auto picture = std::make_unique<DibPicture>();
        EXPECT_TRUE(LoadExact(*picture, file));
        return picture;
    };
    EXPECT_TRUE(window.SameLayout(*loaded(MakeBmp(4, 2, 24))));
    EXPECT_FALSE(window.SameLayout(*loaded(MakeBmp(4, 3, 24))));
    EXPECT_FALSE(window.SameLayout(*loaded(MakeBmp(3, 2, 24))));
    EXPECT_FALSE(window.SameLayout(*loaded(MakeBmp(4, -2, 24))));  // rows the other way
    EXPECT_FALSE(window.SameLayout(*loaded(MakeBmp(2, 2, 32))));   // as many bytes, other pixels
    EXPECT_FALSE(window.SameLayout(DibPicture()));
    EXPECT_FALSE(DibPicture().SameLayout(DibPicture()));

    // A blank made from the header is laid out alike, though it counts the
    // two bytes a file leaves out.
    BitmapInfoHeader h;
    ASSERT_TRUE(window.GetHeader(h));
    DibPicture blank;
    ASSERT_TRUE(blank.CreateBlank(h));
    EXPECT_TRUE(blank.SameLayout(window));
    EXPECT_NE(blank.pixelBytes(), window.pixelBytes());

    const Bytes original = PixelsOf(window);
    DibPicture copy;
    copy.CopyFrom(window);
    EXPECT_TRUE(copy.SameLayout(window));
    EXPECT_EQ(copy.pixelBytes(), window.pixelBytes());
    EXPECT_EQ(PixelsOf(copy), PixelsOf(window));
    EXPECT_EQ(copy.info(), window.info());
    copy.Fill(0xFF);
    EXPECT_EQ(PixelsOf(copy), Bytes(24, 0xFF));
    EXPECT_EQ(PixelsOf(window), original);  // the copy has pixels of its own
    copy.CopyFrom(DibPicture());
    EXPECT_TRUE(copy.empty());
    copy.Fill(1);  // nothing to fill
}

}  // namespace
