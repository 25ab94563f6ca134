#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/SearchRecord.h"

// What the address bar decides: which page an address names, what Enter on
// a typed text does, how long the simulated fetch of an unknown address
// takes, and how the list of typed addresses is kept. The bar's window only
// shows the outcome; the story runner uses the same decisions without waits.

inline constexpr char kNoFile[] = "nofile";
inline constexpr char kMissingPage[] = "urlmiss.htm";
inline constexpr char kAddressNotFoundText[] = "そのアドレスは見当たりません。";

// The box's text is used up to this many bytes, cut between characters.
inline constexpr size_t kTypedAddressBytes = 255;
// The list never shows more entries than this.
inline constexpr size_t kAddressListEntries = 24;

// The file name of the first record whose address equals `address`, ignoring
// the case of ASCII letters and nothing else; "nofile" for an empty address
// or one no record has.
std::string ResolveAddress(const std::vector<SearchRecord>& table, std::string_view address);

// Whether the text ends in ".htm", in any case of its letters.
bool EndsInHtm(std::string_view text);

// What Enter in the address box leads to.
struct TypedAddress {
    enum class Outcome {
        Open,         // a known address: its page opens at once
        MissingPage,  // an unknown ".htm" address: a fetch, then "urlmiss.htm"
        Refused,      // anything else: a fetch, then the message, and the box shows
                      // the current page's address again
    };
    Outcome outcome = Outcome::Refused;
    std::string text;          // what the list gains: the box's text cut to 255 bytes
    std::string page;          // the page to open; empty when refused
    uint32_t fetchStepMs = 0;  // each fetch step waits longer than this; 0 for no fetch
};
TypedAddress DecideTypedAddress(const std::vector<SearchRecord>& table, std::string_view boxText);

// The list entry to delete after an entry was added: the one at the list's
// top index once the list holds 25 or more; none when the top index is not
// an entry.
std::optional<size_t> EntryToTrim(size_t count, long topIndex);

// Saved entries as the list takes them back: the newest 24, each cut to what
// the box takes.
std::vector<std::string> EntriesToRestore(const std::vector<std::string>& saved);

// The simulated fetch: the progress goes 0, 1, ... 99, one step each time
// more than `stepMs` milliseconds have passed since the step before, then
// 100. `now` is a millisecond clock that may wrap around; `wait` passes a
// little time (the window sleeps; it never spins).
struct FetchProgress {
    std::function<uint32_t()> now;
    std::function<void()> wait;
    std::function<void(int)> show;
};
void RunFetch(uint32_t stepMs, const FetchProgress& progress);

// The two values the list's notifications share: the text the box held when
// its list last dropped down, and whether a close-up has just been handled.
class AddressPicker {
  public:
    // The list is about to drop down over `boxText`.
    void DroppedDown(std::string boxText);
    // The list closed on entry `picked` (none when no entry is selected): the
    // page to open, or nothing when the entry is the text it dropped down
    // over or names no page.
    std::optional<std::string> ClosedUp(const std::optional<std::string>& picked,
                                        const std::vector<SearchRecord>& table);
    // A selection change while the list is closed, made with the keyboard:
    // true when the list should drop down to show it.
    bool SelectionChanged(bool listDropped);
    void SelectionConfirmed() { closeUpHandled_ = 0; }
    // Enter in the box.
    void Typed() { closeUpHandled_ = 0; }

    const std::string& textAtDropDown() const { return textAtDropDown_; }
    int closeUpHandled() const { return closeUpHandled_; }

  private:
    std::string textAtDropDown_;
    int closeUpHandled_ = 0;
};
