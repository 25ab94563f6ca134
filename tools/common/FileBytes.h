#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

// The whole of a file, or nothing when it cannot be opened or read. Read in
// blocks: packing a world reads tens of megabytes of pictures.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path);
