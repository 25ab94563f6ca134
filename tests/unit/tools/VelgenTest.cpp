#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../support/TestFiles.h"

#ifndef VELGEN_PATH
#error "VELGEN_PATH names the velgen program under test"
#endif

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// A decoded .bmp: its header fields and a way to read a pixel as displayed.
struct Bmp {
    std::vector<uint8_t> file;
    uint32_t width() const { return Le32(file, 18); }
    int32_t height() const { return static_cast<int32_t>(Le32(file, 22)); }
    uint32_t bits() const { return file[28] | (file[29] << 8); }
    uint32_t stride() const { return (width() * bits() / 8 + 3) & ~3u; }

    // 0xRRGGBB of the pixel at (x, y), counting y from the top as shown.
    uint32_t At(uint32_t x, uint32_t y) const {
        const size_t row = Le32(file, 10) + static_cast<size_t>(height() - 1 - y) * stride();
        if (bits() == 8) {
            const size_t entry = 54 + file[row + x] * 4;
            return (file[entry + 2] << 16) | (file[entry + 1] << 8) | file[entry];
        }
        const size_t at = row + x * 3;
        return (file[at + 2] << 16) | (file[at + 1] << 8) | file[at];
    }
};

class VelgenTest : public ::testing::Test {
  protected:
    // Runs velgen on a manifest of `lines` in the test's folder; the status.
    int Run(const std::string& lines) {
        Text("manifest.txt", lines);
        const std::string command = "'" VELGEN_PATH "' '" + dir.File("manifest.txt") + "' '" +
                                    dir.File("out") + "' 2>'" + dir.File("stderr.txt") + "'";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    void Text(const std::string& name, const std::string& text) {
        WriteBytes(dir.File(name), Bytes(text));
    }
    Bmp Picture(const std::string& name) { return {ReadBytes(dir.File("out/" + name))}; }
    std::string Errors() {
        const std::vector<uint8_t> err = ReadBytes(dir.File("stderr.txt"));
        return {err.begin(), err.end()};
    }

    TempDir dir;
};

TEST_F(VelgenTest, PicturesAreBottomUpWithPaddedRows) {
    Text("red-top.txt", "sky 000080\nrect 0 0 3 1 ff0000\n");
    ASSERT_EQ(Run("scene a.bmp 3 2 red-top.txt\n"), 0) << Errors();
    const Bmp bmp = Picture("a.bmp");
    ASSERT_EQ(bmp.file.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
    EXPECT_EQ(bmp.width(), 3u);
    EXPECT_EQ(bmp.height(), 2);  // positive: the last row is stored first
    EXPECT_EQ(bmp.bits(), 24u);
    EXPECT_EQ(Le32(bmp.file, 2), bmp.file.size());
    EXPECT_EQ(bmp.At(0, 0), 0xFF0000u);
    EXPECT_EQ(bmp.At(2, 0), 0xFF0000u);
    EXPECT_EQ(bmp.At(1, 1), 0x000080u);
    EXPECT_EQ(bmp.file[54], 0x80);  // the bottom row's first blue byte comes first
}

TEST_F(VelgenTest, VariantsAndTitleStrips) {
    // The title screen fades a picture's bottom rows alone, so a strip
    // variant must equal the plain picture everywhere above them.
    Text("scene.txt",
         "colour green 00ff00\n"
         "sky 202020\n"
         "[!lit] rect 0 0 4 4 0000ff\n"
         "[lit] rect 0 0 4 4 ff0000   # above the strip: dropped\n"
         "[lit] [wide] rect 4 0 4 4 ffffff\n"
         "[lit] rect 0 36 4 4 green\n");
    ASSERT_EQ(Run("scene plain.bmp 8 40 scene.txt\n"
                  "scene lit.bmp 8 40 scene.txt lit\n"
                  "scene strip.bmp 8 40 scene.txt lit strip=10\n"),
              0)
        << Errors();
    const Bmp plain = Picture("plain.bmp"), lit = Picture("lit.bmp"), strip = Picture("strip.bmp");
    EXPECT_EQ(plain.At(1, 1), 0x0000FFu);
    EXPECT_EQ(lit.At(1, 1), 0xFF0000u);
    EXPECT_EQ(lit.At(5, 1), 0x202020u);  // every tag of a line must agree
    EXPECT_EQ(lit.At(1, 38), 0x00FF00u);
    for (uint32_t y = 0; y < 30; ++y) {
        for (uint32_t x = 0; x < 8; ++x) {
            ASSERT_EQ(strip.At(x, y), plain.At(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(strip.At(1, 38), 0x00FF00u);
}

TEST_F(VelgenTest, ButtonsCarryTheKeyColoursWhereTheProgramReadsThem) {
    std::string grid = "colour n 1b2a4a\n";
    for (int y = 0; y < 24; ++y) {
        grid += (y == 0 ? "n" : ".") + std::string(23, '.') + "\n";
    }
    Text("glyph.txt", grid);
    ASSERT_EQ(Run("button n.bmp glyph.txt normal\n"
                  "button p.bmp glyph.txt pressed\n"
                  "button d.bmp glyph.txt disabled\n"),
              0)
        << Errors();
    const Bmp normal = Picture("n.bmp"), pressed = Picture("p.bmp"), disabled = Picture("d.bmp");
    EXPECT_EQ(normal.width(), 34u);
    EXPECT_EQ(normal.height(), 34);
    EXPECT_EQ(normal.bits(), 8u);
    EXPECT_EQ(normal.At(0, 0), 0xFFFFFFu);    // the light edge's key
    EXPECT_EQ(normal.At(1, 1), 0xC0C0C0u);    // the face's key
    EXPECT_EQ(normal.At(33, 33), 0x808080u);  // the dark edge's key
    EXPECT_EQ(normal.At(5, 5), 0x1B2A4Au);
    // Pressed: the bevel turns round and the glyph moves by a pixel.
    EXPECT_EQ(pressed.At(0, 0), 0x808080u);
    EXPECT_EQ(pressed.At(33, 33), 0xFFFFFFu);
    EXPECT_EQ(pressed.At(6, 6), 0x1B2A4Au);
    // Disabled: embossed in the two edge keys only, so it follows the system colours.
    EXPECT_EQ(disabled.At(5, 5), 0x808080u);
    EXPECT_EQ(disabled.At(6, 6), 0xFFFFFFu);

    // A glyph drawn in a key colour would be recoloured with the frame.
    Text("bad.txt", "colour w ffffff\n" + std::string("w") + grid.substr(grid.find('\n') + 2));
    EXPECT_EQ(Run("button b.bmp bad.txt normal\n"), 1);
    EXPECT_NE(Errors().find("key colours"), std::string::npos) << Errors();
}

TEST_F(VelgenTest, TheLogoStripLoopsInFortySevenFrames) {
    ASSERT_EQ(Run("logo logo.bmp\n"), 0) << Errors();
    const Bmp logo = Picture("logo.bmp");
    ASSERT_EQ(logo.width(), 2304u);
    ASSERT_EQ(logo.height(), 20);
    EXPECT_EQ(logo.bits(), 24u);
    bool frame1Differs = false;
    for (uint32_t y = 0; y < 20; ++y) {
        for (uint32_t x = 0; x < 48; ++x) {
            // The frame bar shows frames 0 to 46, so 47 must look like 0.
            ASSERT_EQ(logo.At(47 * 48 + x, y), logo.At(x, y)) << x << "," << y;
            frame1Differs = frame1Differs || logo.At(48 + x, y) != logo.At(x, y);
        }
    }
    EXPECT_TRUE(frame1Differs);
}

TEST_F(VelgenTest, MusicLoopsAreRepeatableAndJoinSmoothly) {
    Text("score.txt",
         "tempo 105   # a step of 6300 samples\n"
         "steps 2\n"
         "echo 0.3 0.2\n"
         "voice soft 0.2 0.05 0 0.8 : A3+C#4 - - - E4 - . .\n"
         "voice bell 0.2 0.004 0.5 : A4 . . . . . . C#5\n");
    ASSERT_EQ(Run("music a.wav score.txt\nmusic b.wav score.txt\n"), 0) << Errors();
    const std::vector<uint8_t> a = ReadBytes(dir.File("out/a.wav"));
    EXPECT_EQ(a, ReadBytes(dir.File("out/b.wav")));
    ASSERT_GE(a.size(), 44u);
    EXPECT_EQ(std::string(a.begin(), a.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(a, 24), 22050u);
    const size_t samples = Le32(a, 40) / 2;
    EXPECT_EQ(samples, 8u * 6300);
    auto sample = [&](size_t i) {
        return static_cast<int16_t>(a[44 + 2 * i] | (a[45 + 2 * i] << 8));
    };
    int peak = 1;
    for (size_t i = 0; i < samples; ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(sample(i))));
    }
    // The bell's last note rings on into the loop's start instead of stopping dead.
    EXPECT_LT(std::abs(sample(samples - 1) - sample(0)), peak / 4);
    EXPECT_GT(std::abs(static_cast<int>(sample(0))) + std::abs(static_cast<int>(sample(5))), 0);
}

TEST_F(VelgenTest, SpritesLeaveTheKeyColourWhereTheGridHasDots) {
    Text("dot.txt", "# a dot\ncolour o f2c46b\n.o.\nooo\n.o.\n");
    ASSERT_EQ(Run("sprite dots.bmp dot.txt\n"), 0) << Errors();
    const Bmp dot = Picture("dots.bmp");
    EXPECT_EQ(dot.width(), 3u);
    EXPECT_EQ(dot.At(0, 0), 0xFF00FFu);  // the page shows through the top-left colour
    EXPECT_EQ(dot.At(1, 1), 0xF2C46Bu);

    Text("ragged.txt", "colour o f2c46b\noo\nooo\n");
    EXPECT_EQ(Run("sprite r.bmp ragged.txt\n"), 1);
    EXPECT_NE(Errors().find("as long as the first"), std::string::npos) << Errors();
}

TEST_F(VelgenTest, MistakesNameTheirFileAndLine) {
    Text("scene.txt", "sky 000000\nrect 1 2 three 4 ffffff\n");
    EXPECT_EQ(Run("scene a.bmp 4 4 scene.txt\n"), 1);
    EXPECT_NE(Errors().find("scene.txt:2: cannot understand"), std::string::npos) << Errors();
    Text("scene.txt", "sky 000000\nblob 1 2\n");
    EXPECT_EQ(Run("scene a.bmp 4 4 scene.txt\n"), 1);
    EXPECT_NE(Errors().find("unknown command \"blob\""), std::string::npos) << Errors();
    Text("score.txt", "tempo 90\nvoice soft 0.2 0.1 0 : H4\n");
    EXPECT_EQ(Run("music a.wav score.txt\n"), 1);
    EXPECT_NE(Errors().find("\"H4\" is no note"), std::string::npos) << Errors();
}

}  // namespace
