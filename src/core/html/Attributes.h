#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Attribute syntax shared by every tag: an attribute is present when its name
// occurs anywhere in the tag (also inside other words: "size" is found in
// "basefont size="), and its value is what stands between the first double
// quote after the name and the next one. Unquoted values are not seen.

inline bool HasAttribute(std::string_view token, std::string_view name) {
    return token.find(name) != std::string_view::npos;
}

// The quoted value after the first occurrence of `name`; empty when the name
// or a double quote after it is missing. A value without its closing quote
// runs to the end of the tag.
std::string_view AttributeValue(std::string_view token, std::string_view name);

// The decimal number at the start of a value: optional sign and leading
// digits; anything else gives 0. Values beyond the int range are clamped.
int AttributeNumber(std::string_view value);

// Colours are 24-bit values with red in the low byte.
using Colour = uint32_t;

constexpr Colour MakeColour(uint8_t red, uint8_t green, uint8_t blue) {
    return red | (green << 8) | (blue << 16);
}

// "#rrggbb" in any case; a character that is no hexadecimal digit counts as
// 16, and each component is taken modulo 256. False (nothing changed) when
// the value does not begin with "#".
bool ParseColour(std::string_view value, Colour& colour);
