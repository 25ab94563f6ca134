#include "FileBytes.h"

#include <fstream>

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    constexpr size_t kBlock = 1 << 16;
    std::vector<uint8_t> data;
    while (in) {
        const size_t used = data.size();
        data.resize(used + kBlock);
        in.read(reinterpret_cast<char*>(data.data() + used), kBlock);
        data.resize(used + static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return data;
}
