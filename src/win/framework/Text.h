#pragma once

#include <string>
#include <string_view>

// The program's text is code page 932; Windows wants UTF-16 at its boundary.
std::wstring Widen(std::string_view cp932);
std::string Narrow(std::wstring_view utf16);
