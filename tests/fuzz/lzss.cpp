// The LZSS decoder on arbitrary streams, compared with the plain reference
// decoder, into buffers of exactly the capacity given: smaller than what the
// stream decodes to, exactly that, and larger.

#include <algorithm>
#include <vector>

#include "FuzzSupport.h"
#include "archive/Archive.h"
#include "archive/Lzss.h"
#include "support/ReferenceLzss.h"

namespace {

// Decodes into a heap buffer of exactly `capacity` bytes, so that a write or
// read past it is caught.
std::vector<uint8_t> DecodeInto(const uint8_t* data, size_t size, size_t capacity) {
    std::vector<uint8_t> out(capacity);
    const size_t n = Archive::Decompress(data, size, out.data(), capacity);
    FUZZ_CHECK(n <= capacity);
    out.resize(n);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t most = static_cast<size_t>(lzss::MaxDecodedSize(size));
    const std::vector<uint8_t> whole = DecodeInto(data, size, most);

    std::vector<uint8_t> expected(most);
    expected.resize(reference::Decode(data, size, expected.data(), expected.size()));
    FUZZ_CHECK(whole == expected);

    const size_t n = whole.size();
    for (size_t capacity :
         {size_t{0}, size_t{1}, size_t{2}, size_t{17}, n / 2, n - std::min<size_t>(n, 1),
          n - std::min<size_t>(n, 19), n, n + 1, n + 8, n + 300}) {
        const std::vector<uint8_t> part = DecodeInto(data, size, capacity);
        // Output beyond the capacity is dropped; nothing else changes.
        FUZZ_CHECK(part.size() == std::min(capacity, n));
        FUZZ_CHECK(std::equal(part.begin(), part.end(), whole.begin()));
    }
    return 0;
}
