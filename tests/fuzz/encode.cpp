// The LZSS encoder: every input comes back exactly, decoding stops at its
// end, and the stream is never larger than all literals or a greedy
// longest-match encoder's.

#include <vector>

#include "FuzzSupport.h"
#include "archive/Archive.h"
#include "archive/Lzss.h"
#include "support/ReferenceLzss.h"

namespace {

// The greedy reference scans the whole window for every byte: only short
// inputs are compared with it.
constexpr size_t kGreedyLimit = 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> stream = lzss::Encode(data, size);
    FUZZ_CHECK(stream.size() <= size + (size + 7) / 8);

    for (size_t capacity : {size, size + 1, size + 100}) {
        std::vector<uint8_t> out(capacity);
        const size_t n = Archive::Decompress(stream.data(), stream.size(), out.data(), capacity);
        FUZZ_CHECK(n == size);
        FUZZ_CHECK(std::equal(out.begin(), out.begin() + static_cast<ptrdiff_t>(n), data));
    }
    std::vector<uint8_t> plain(size + 1);
    FUZZ_CHECK(reference::Decode(stream.data(), stream.size(), plain.data(), plain.size()) == size);
    FUZZ_CHECK(std::equal(data, data + size, plain.begin()));

    if (size <= kGreedyLimit) {
        FUZZ_CHECK(stream.size() <= reference::GreedyEncode(data, size).size());
    }
    return 0;
}
