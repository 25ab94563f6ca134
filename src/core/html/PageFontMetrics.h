#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "html/Canvas.h"
#include "html/Geometry.h"

// The pages' face as the program's canvas lays it out under Wine: the
// fixed-pitch IPA Gothic, made from a FontSpec's cell height. These are the
// numbers the GDI canvas gets from the system, so that a canvas drawing with
// the same face elsewhere can place every character where GDI does.
//
// Heights follow the system's rules for a font's height: positive is the
// cell, negative the em square, zero a 16-pixel cell, and a height beyond
// what the system scales to makes a one-pixel font.

// The em square in pixels: the size to draw the face's outlines at. It is
// not always the cell height less the internal leading.
int PageFontEmPixels(const FontSpec& fontSpec);
// From the top of a line to the baseline.
int PageFontAscent(const FontSpec& fontSpec);
// The cell height: a line's height, and the height of every measured text.
int PageFontHeight(const FontSpec& fontSpec);

// One character: every printable single byte (ASCII and the half-width
// katakana) is the narrow advance; every double-byte character, and every
// byte that is no printable character, is the wide one.
Size PageCharacterSize(const FontSpec& fontSpec, bool doubleByte);

// The size of a code page 932 text in one line: the sum of its characters'
// advances, and the cell height, even for an empty text.
Size MeasurePageText(const FontSpec& fontSpec, std::string_view cp932);

// A line of a text broken into an area as the system's word-breaking text
// drawing breaks it.
struct WrappedLine {
    size_t begin = 0;   // the bytes of the text the line shows
    size_t length = 0;  //   (the line's "&" marks included)
    int y = 0;          // top, below the area's top
    int width = 0;      // advance of what the line draws
    std::string text;   // what the line draws: "&x" draws x, "&&" draws "&"
    // The character drawn with an underscore (the last "&x" of the line), as
    // a row of pixels at y + ascent + 1 from underlineLeft up to
    // underlineRight (not included), from the line's left; empty when there
    // is none. The row is cut to the area's columns, but drawn even when it
    // is the row just below the area.
    int underlineLeft = 0;
    int underlineRight = 0;
};

// The lines of `cp932` in an area `width` pixels wide, each drawn at the
// area's left edge and clipped to the area. Lines break where the system's
// line-breaking rules allow (after spaces, between Japanese characters but
// not before "。" or after "「", ...), and at "\r\n", "\n\r", "\n" or "\r";
// where nothing that fits may break, the line runs on to the next space,
// wider than the area. A negative width fits everything.
std::vector<WrappedLine> WrapPageText(const FontSpec& fontSpec, int width, std::string_view cp932);

// The area WrapPageText fills: the widest line and all lines' height. An
// empty text is one empty line high.
Size MeasureWrappedPageText(const FontSpec& fontSpec, int width, std::string_view cp932);
