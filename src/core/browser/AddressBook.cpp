#include "browser/AddressBook.h"

#include <algorithm>

#include "game/SaveFile.h"
#include "text/ShiftJis.h"

namespace {

constexpr uint32_t kMissingPageStepMs = 15;
constexpr uint32_t kRefusalStepMs = 25;
constexpr int kLastFetchStep = 99;
// The list is trimmed once an addition makes it this long.
constexpr size_t kTrimAt = kAddressListEntries + 1;
// A save file brings back no more entries than the list shows.
static_assert(kMaxSavedAddresses == kAddressListEntries);

}  // namespace

std::string ResolveAddress(const std::vector<SearchRecord>& table, std::string_view address) {
    if (address.empty()) {
        return kNoFile;
    }
    for (const SearchRecord& record : table) {
        if (EqualsIgnoringAsciiCase(record.address, address)) {
            return record.fileName;
        }
    }
    return kNoFile;
}

bool EndsInHtm(std::string_view text) {
    constexpr std::string_view kEnding = ".htm";
    return text.size() >= kEnding.size() &&
           EqualsIgnoringAsciiCase(text.substr(text.size() - kEnding.size()), kEnding);
}

TypedAddress DecideTypedAddress(const std::vector<SearchRecord>& table, std::string_view boxText) {
    TypedAddress typed;
    typed.text = std::string(CutAtCharacter(boxText, kTypedAddressBytes));
    const std::string page = ResolveAddress(table, typed.text);
    if (page != kNoFile) {
        typed.outcome = TypedAddress::Outcome::Open;
        typed.page = page;
    } else if (EndsInHtm(typed.text)) {
        typed.outcome = TypedAddress::Outcome::MissingPage;
        typed.page = kMissingPage;
        typed.fetchStepMs = kMissingPageStepMs;
    } else {
        typed.outcome = TypedAddress::Outcome::Refused;
        typed.fetchStepMs = kRefusalStepMs;
    }
    return typed;
}

std::optional<size_t> EntryToTrim(size_t count, long topIndex) {
    if (count < kTrimAt || topIndex < 0 || static_cast<size_t>(topIndex) >= count) {
        return std::nullopt;
    }
    return static_cast<size_t>(topIndex);
}

std::vector<std::string> EntriesToRestore(const std::vector<std::string>& saved) {
    const size_t first =
        saved.size() > kAddressListEntries ? saved.size() - kAddressListEntries : 0;
    std::vector<std::string> entries;
    for (size_t i = first; i < saved.size(); ++i) {
        entries.emplace_back(CutAtCharacter(saved[i], kTypedAddressBytes));
    }
    return entries;
}

void RunFetch(uint32_t stepMs, const FetchProgress& progress) {
    progress.show(0);
    uint32_t last = progress.now();
    for (int position = 1; position <= kLastFetchStep; ++position) {
        // An unsigned difference stays right when the clock wraps around.
        while (static_cast<uint32_t>(progress.now() - last) <= stepMs) {
            progress.wait();
        }
        last = progress.now();
        progress.show(position);
    }
    progress.show(100);
}

void AddressPicker::DroppedDown(std::string boxText) {
    textAtDropDown_ = std::move(boxText);
    closeUpHandled_ = 0;
}

std::optional<std::string> AddressPicker::ClosedUp(const std::optional<std::string>& picked,
                                                   const std::vector<SearchRecord>& table) {
    if (!picked) {
        return std::nullopt;
    }
    std::optional<std::string> page;
    if (*picked != textAtDropDown_) {
        std::string resolved = ResolveAddress(table, *picked);
        if (resolved != kNoFile) {
            page = std::move(resolved);
        }
    }
    textAtDropDown_.clear();
    closeUpHandled_ = 1;
    return page;
}

bool AddressPicker::SelectionChanged(bool listDropped) {
    if (closeUpHandled_ == 1 || listDropped) {
        return false;
    }
    closeUpHandled_ = 0;
    return true;
}
