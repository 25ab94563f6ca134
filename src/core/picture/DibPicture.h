#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Archive;

// The 40-byte bitmap information header of a .bmp file, fields as stored.
struct BitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;  // positive: rows bottom-up; negative: top-down
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = 0;  // 0 uncompressed, 3 bit fields
    uint32_t imageSize = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

// Where pictures are looked for, in this order; then a loose file of that name
// in the current directory. Any archive may be null.
struct PictureSources {
    const Archive* cg = nullptr;
    const Archive* ex = nullptr;
    const Archive* parts = nullptr;
};

// A picture held as device-independent pixels: the header, the colour table
// and the pixel rows as a DIB section would hold them. The platform draws it
// from `info()` and `pixels()`.
class DibPicture {
  public:
    DibPicture() = default;
    DibPicture(const DibPicture&) = delete;
    DibPicture& operator=(const DibPicture&) = delete;
    // A moved-from picture is empty.
    DibPicture(DibPicture&& other) noexcept;
    DibPicture& operator=(DibPicture&& other) noexcept;
    virtual ~DibPicture() = default;

    // Maps a picture name to the ".bmp" entry the archives hold; false for a
    // name that cannot be mapped.
    static bool NormalizeName(std::string& name);

    // Loads a picture by name. True when the name was accepted and an entry or
    // file was found, even if its contents could not be turned into a picture
    // (the picture then stays empty); false when the name is not recognised
    // (after telling the player) or nothing was found. An entry whose data
    // cannot be read (it lies outside its archive) counts as missing, so the
    // next archive and then the loose file are tried.
    bool Load(std::string_view name, const PictureSources& sources);
    // Builds the picture from the bytes of a whole .bmp file; false (and empty)
    // when they do not make a picture.
    bool LoadFromBytes(const uint8_t* bytes, size_t size);

    void Unload();

    // The header of the held picture: 40 bytes, uncompressed, image size
    // without row padding. False when the picture is empty.
    bool GetHeader(BitmapInfoHeader& header) const;
    // A zero-filled picture of the header's geometry; false when the header
    // does not describe a picture the program can hold.
    bool CreateBlank(const BitmapInfoHeader& header);
    // Copies pixelBytes() bytes (at most `size`) from `source` into the pixels.
    void CopyPixels(const uint8_t* source, size_t size);
    // Adds `amount` to every pixel byte, at most 255.
    void Brighten(uint8_t amount);
    // This picture becomes the cross-fade from `from` to `to` at step 0..8
    // (0 is `from`, 8 is `to`).
    void Blend(int step, const DibPicture& from, const DibPicture& to);
    // The same over the first width x height x 3 bytes only: the bottom rows
    // of a bottom-up 24-bit picture.
    void BlendRows(int step, int width, int height, const DibPicture& from, const DibPicture& to);

    // Whether both hold pixels laid out alike (width, rows and their order,
    // bits per pixel), so that byte i is the same pixel in both; never for an
    // empty picture. Fades need that of their pictures.
    bool SameLayout(const DibPicture& other) const;
    // Becomes a copy of `other`: header, colour table and every pixel byte.
    void CopyFrom(const DibPicture& other);
    // Sets every byte of the pixel memory to `value`.
    void Fill(uint8_t value);

    bool empty() const { return !attached_; }
    const std::string& name() const { return name_; }
    uint32_t pixelBytes() const { return pixelBytes_; }
    int width() const { return attached_ ? header_.width : 0; }
    // Rows, whichever way they are stored.
    int height() const;
    const BitmapInfoHeader& header() const { return header_; }

    // The header followed by what the platform needs after it (colour table
    // or bit-field masks), ready to be read as a BITMAPINFO.
    const std::vector<uint8_t>& info() const { return info_; }
    const uint8_t* pixels() const { return pixels_.data(); }
    uint8_t* pixels() { return pixels_.data(); }
    size_t pixelCapacity() const { return pixels_.size(); }
    // The colour of the top-left pixel as shown (red in the low byte).
    uint32_t TopLeftColour() const;
    // The colour of a pixel as shown, counted from the top left; 0 outside.
    uint32_t ColourAt(int x, int y) const;
    // Every pixel as red, green, blue and alpha bytes, top row first: what a
    // web page's canvas takes. Alpha is 255, or 0 for the pixels of the
    // top-left pixel's colour when they are to be left out.
    std::vector<uint8_t> ToRgba(bool leaveOutTopLeftColour) const;
    // The same into `rgba`, whose storage is reused: a fade converts its
    // picture every step.
    void ToRgba(bool leaveOutTopLeftColour, std::vector<uint8_t>& rgba) const;

  private:
    // Empties everything but the name.
    void ClearPixels();
    // Zero-filled pixel memory; false when it cannot be had.
    bool Allocate(uint64_t bytes);
    // Takes the header (as the platform gets it) and its colour table or masks.
    void Attach(const BitmapInfoHeader& header, const std::vector<uint8_t>& table);

    std::string name_;
    uint32_t pixelBytes_ = 0;
    bool attached_ = false;
    BitmapInfoHeader header_;
    std::vector<uint8_t> info_;
    std::vector<uint8_t> pixels_;
};
