#pragma once

#include <string>
#include <string_view>

// A JSON string, quotes included, of a code page 932 text.
std::string JsonText(std::string_view cp932);
