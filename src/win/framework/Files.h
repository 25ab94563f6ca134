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

// The same through a temporary file of a fixed name, for a file written over
// and over: a kill while it is written leaves that one file behind, which the
// next write takes up and moves into place.
bool WriteFileAtomically(const std::wstring& path, const std::vector<uint8_t>& bytes,
                         const std::wstring& temporary);

// When the file was last written, in 100-nanosecond steps; nothing when it
// cannot be found.
std::optional<uint64_t> LastWriteTime(const std::wstring& path);

// The player's own folder for application data (%LOCALAPPDATA%) joined with
// `name`; nothing when the system names no such folder.
std::optional<std::wstring> InLocalAppData(const std::wstring& name);

// True when a new file can be made in `folder` (it is tried, and removed).
bool CanWriteIn(const std::wstring& folder);

// Makes the folder `path` unless it is there already; true when it is there.
bool MakeFolder(const std::wstring& path);

// The Windows directory joined with `name`.
std::wstring InWindowsDirectory(const std::wstring& name);
