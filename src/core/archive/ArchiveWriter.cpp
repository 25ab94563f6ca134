#include "archive/ArchiveWriter.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "LittleEndian.h"
#include "archive/Archive.h"
#include "archive/Lzss.h"

bool IsValidEntryName(const std::string& name, std::string& why) {
    if (name.empty()) {
        why = "an entry name cannot be empty";
        return false;
    }
    if (name.size() > kMaxEntryName) {
        why = "\"" + name + "\" is " + std::to_string(name.size()) +
              " bytes long; entry names hold at most " + std::to_string(kMaxEntryName);
        return false;
    }
    if (name.find('\0') != std::string::npos) {
        why = "an entry name cannot contain a zero byte";
        return false;
    }
    return true;
}

std::optional<std::vector<uint8_t>> BuildArchive(const std::vector<ArchiveInput>& inputs) {
    const size_t tableEnd = 4 + inputs.size() * ArchiveEntry::kRecordSize;
    std::vector<uint8_t> out(tableEnd, 0);
    WriteLe32(out.data(), static_cast<uint32_t>(inputs.size()));
    for (size_t i = 0; i < inputs.size(); ++i) {
        const ArchiveInput& input = inputs[i];
        assert(input.name.size() <= kMaxEntryName);
        const std::vector<uint8_t> packed = lzss::Encode(input.data.data(), input.data.size());
        // Sizes and offsets are 32-bit fields.
        if (input.data.size() > UINT32_MAX || out.size() + packed.size() > UINT32_MAX) {
            return std::nullopt;
        }
        const size_t record = 4 + i * ArchiveEntry::kRecordSize;
        std::copy_n(input.name.begin(), std::min(input.name.size(), kMaxEntryName),
                    out.begin() + static_cast<ptrdiff_t>(record));
        WriteLe32(out.data() + record + 20, static_cast<uint32_t>(input.data.size()));
        WriteLe32(out.data() + record + 24, static_cast<uint32_t>(packed.size()));
        WriteLe32(out.data() + record + 28, static_cast<uint32_t>(out.size()));
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}
