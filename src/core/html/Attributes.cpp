#include "html/Attributes.h"

#include <climits>

std::string_view AttributeValue(std::string_view token, std::string_view name) {
    const size_t at = token.find(name);
    if (at == std::string_view::npos) {
        return {};
    }
    const size_t open = token.find('"', at + name.size());
    if (open == std::string_view::npos) {
        return {};
    }
    const size_t close = token.find('"', open + 1);
    return token.substr(
        open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
}

int AttributeNumber(std::string_view value) {
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    long long number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        number = number * 10 + (value[i] - '0');
        if (number > INT_MAX) {
            number = INT_MAX;  // keep counting digits, never overflow
        }
    }
    return static_cast<int>(negative ? -number : number);
}

bool ParseColour(std::string_view value, Colour& colour) {
    if (value.empty() || value[0] != '#') {
        return false;
    }
    auto digit = [&](size_t i) -> uint32_t {
        if (i >= value.size()) {
            return 16;  // a short value: missing characters count like strange ones
        }
        char c = value[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c >= '0' && c <= '9') {
            return static_cast<uint32_t>(c - '0');
        }
        if (c >= 'a' && c <= 'f') {
            return static_cast<uint32_t>(c - 'a' + 10);
        }
        return 16;
    };
    const uint32_t red = (digit(1) * 16 + digit(2)) % 256;
    const uint32_t green = (digit(3) * 16 + digit(4)) % 256;
    const uint32_t blue = (digit(5) * 16 + digit(6)) % 256;
    colour = red | (green << 8) | (blue << 16);
    return true;
}
