#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One file to go into an archive, before compression.
struct ArchiveInput {
    std::string name;
    std::vector<uint8_t> data;
};

// Names live in a 20-byte field with a closing zero.
constexpr size_t kMaxEntryName = 19;

// Whether `name` can stand in an entry record; explains why not in `why`.
bool IsValidEntryName(const std::string& name, std::string& why);

// The bytes of an archive holding `inputs` in order: the count, the table, then
// each entry's LZSS stream, one after the other. Names must be valid. Nothing
// when the archive would outgrow the format's 32-bit offsets.
std::optional<std::vector<uint8_t>> BuildArchive(const std::vector<ArchiveInput>& inputs);
