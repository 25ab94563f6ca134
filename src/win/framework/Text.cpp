#include "framework/Text.h"

#include <windows.h>

namespace {
constexpr UINT kCodePage = 932;
}

std::wstring Widen(std::string_view cp932) {
    if (cp932.empty()) {
        return {};
    }
    const int length = static_cast<int>(cp932.size());
    const int needed = MultiByteToWideChar(kCodePage, 0, cp932.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(kCodePage, 0, cp932.data(), length, wide.data(), needed);
    return wide;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty()) {
        return {};
    }
    const int length = static_cast<int>(utf16.size());
    const int needed =
        WideCharToMultiByte(kCodePage, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(kCodePage, 0, utf16.data(), length, narrow.data(), needed, nullptr,
                        nullptr);
    return narrow;
}
