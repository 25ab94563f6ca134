#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The whole file, or nothing when it cannot be read.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::wstring& path);

// Replaces a file so that a crash or power loss at any moment leaves either
// the old file or the new one, whole: the bytes go to a file of a unique name
// beside it first, which then takes the old one's place. True only when every
// byte was written and the file closed; on failure nothing new is left.
bool WriteFileAtomically(const std::wstring& path, const std::vector<uint8_t>& bytes);

// The Windows directory joined with `name`.
std::wstring InWindowsDirectory(const std::wstring& name);
