#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../../support/FakeClock.h"
#include "browser/AddressBook.h"

namespace {

std::vector<SearchRecord> Table() {
    std::vector<SearchRecord> table(300);
    table[0] = {"http://www.kirimi.net/", "otop.htm", {}, "top"};
    table[1] = {"http://www.usami-pharma.co.jp/", "umaker00.htm", {}, "usami"};
    table[2] = {"http://www.usami-pharma.co.jp/", "umaker03.htm", {}, "usami later"};
    table[299] = {"http://last.kirimi.net/", "last.htm", {}, "last"};
    return table;
}

TEST(ResolveAddress, FoldsAsciiCaseOnlyAndTakesTheFirstRecord) {
    const auto table = Table();
    EXPECT_EQ(ResolveAddress(table, "HTTP://WWW.Kirimi.NET/"), "otop.htm");
    EXPECT_EQ(ResolveAddress(table, "http://www.usami-pharma.co.jp/"), "umaker00.htm");
    EXPECT_EQ(ResolveAddress(table, "http://last.kirimi.net/"), "last.htm");
    // No trimming and no other normalising.
    EXPECT_EQ(ResolveAddress(table, " http://www.kirimi.net/"), "nofile");
    EXPECT_EQ(ResolveAddress(table, "http://www.kirimi.net"), "nofile");
    EXPECT_EQ(ResolveAddress(table, "http://www.kirimi.net/ "), "nofile");
    // The empty slots after the records never match an empty address.
    EXPECT_EQ(ResolveAddress(table, ""), "nofile");
    // A double-byte character's trail byte is never folded: 0x82 0x61 is not 0x82 0x41.
    std::vector<SearchRecord> wide(1);
    wide[0] = {"\x82\x61", "wide.htm", {}, ""};
    EXPECT_EQ(ResolveAddress(wide, "\x82\x61"), "wide.htm");
    EXPECT_EQ(ResolveAddress(wide, "\x82\x41"), "nofile");
}

TEST(DecideTypedAddress, KnownHtmAndOtherAddresses) {
    const auto table = Table();
    TypedAddress known = DecideTypedAddress(table, "http://www.KIRIMI.net/");
    EXPECT_EQ(known.outcome, TypedAddress::Outcome::Open);
    EXPECT_EQ(known.page, "otop.htm");
    EXPECT_EQ(known.text, "http://www.KIRIMI.net/");  // the list keeps it as typed
    EXPECT_EQ(known.fetchStepMs, 0u);

    TypedAddress missing = DecideTypedAddress(table, "http://nowhere/a.HTM");
    EXPECT_EQ(missing.outcome, TypedAddress::Outcome::MissingPage);
    EXPECT_EQ(missing.page, "urlmiss.htm");
    EXPECT_EQ(missing.fetchStepMs, 15u);

    for (const char* text : {"http://nowhere/a.html", "", "htm", ".ht", "x.htm "}) {
        TypedAddress refused = DecideTypedAddress(table, text);
        EXPECT_EQ(refused.outcome, TypedAddress::Outcome::Refused) << text;
        EXPECT_EQ(refused.page, "") << text;
        EXPECT_EQ(refused.fetchStepMs, 25u) << text;
    }
    EXPECT_TRUE(EndsInHtm(".htm"));
    EXPECT_TRUE(EndsInHtm(".HtM"));
}

TEST(DecideTypedAddress, UsesTheFirst255BytesCutBetweenCharacters) {
    auto table = Table();
    const std::string known = "http://www.kirimi.net/" + std::string(255 - 22, 'a');
    table[5] = {known, "long.htm", {}, ""};
    // 300 bytes: only the first 255 are looked up and kept.
    const TypedAddress typed = DecideTypedAddress(table, known + std::string(45, 'b'));
    EXPECT_EQ(typed.text, known);
    EXPECT_EQ(typed.page, "long.htm");
    EXPECT_EQ(DecideTypedAddress(table, known).text.size(), 255u);
    // A double-byte character across the 255th byte is left out whole.
    const std::string wide = std::string(254, 'a') + "\x96\xb6" + "c";
    EXPECT_EQ(DecideTypedAddress(table, wide).text, std::string(254, 'a'));
    const std::string fits = std::string(253, 'a') + "\x96\xb6" + "c";
    EXPECT_EQ(DecideTypedAddress(table, fits).text, std::string(253, 'a') + "\x96\xb6");
}

TEST(AddressList, TheTwentyFifthEntryTrimsTheTopOne) {
    EXPECT_EQ(EntryToTrim(24, 0), std::nullopt);
    EXPECT_EQ(EntryToTrim(25, 0), 0u);
    EXPECT_EQ(EntryToTrim(25, 3), 3u);             // the top index, whichever entry that is
    EXPECT_EQ(EntryToTrim(30, -1), std::nullopt);  // the box has no top entry
    EXPECT_EQ(EntryToTrim(25, 25), std::nullopt);

    // A damaged save's long list and overlong entries are cut, the newest kept.
    std::vector<std::string> saved;
    for (int i = 0; i < 30; ++i) {
        saved.push_back("a" + std::to_string(i));
    }
    saved.back() = std::string(254, 'x') + "\x96\xb6";
    const auto restored = EntriesToRestore(saved);
    ASSERT_EQ(restored.size(), 24u);
    EXPECT_EQ(restored.front(), "a6");
    EXPECT_EQ(restored.back(), std::string(254, 'x'));
    EXPECT_EQ(EntriesToRestore({"a", "b"}), (std::vector<std::string>{"a", "b"}));
}

// The fetch's progress on a clock that each wait moves on by one.
struct FakeFetch {
    explicit FakeFetch(uint32_t start) : clock(start), started(start) {}
    FetchProgress Progress() {
        return {[this] { return clock.Read(); }, [this] { clock.Wait(); },
                [this](int p) {
                    shown.push_back(p);
                    at.push_back(clock.now);
                }};
    }
    FakeClock clock;
    uint32_t started;
    std::vector<int> shown;
    std::vector<uint32_t> at;
};

TEST(RunFetch, StepsFromZeroTo99MoreThanAStepApartThenShows100) {
    for (uint32_t start : {0u, 0xFFFFFF00u}) {  // the second wraps the clock mid-way
        FakeFetch fetch(start);
        RunFetch(15, fetch.Progress());
        ASSERT_EQ(fetch.shown.size(), 101u);
        for (int i = 0; i <= 99; ++i) {
            EXPECT_EQ(fetch.shown[static_cast<size_t>(i)], i);
        }
        EXPECT_EQ(fetch.shown.back(), 100);
        for (size_t i = 1; i < 100; ++i) {
            EXPECT_EQ(static_cast<uint32_t>(fetch.at[i] - fetch.at[i - 1]), 16u) << i;
        }
        EXPECT_EQ(static_cast<uint32_t>(fetch.clock.now - fetch.started), 99u * 16u);
        EXPECT_EQ(fetch.clock.waits, 99u * 16u);  // the time passed in waits, never by spinning
    }
}

TEST(AddressPicker, OpensOnlyADifferentEntryThatResolves) {
    const auto table = Table();
    AddressPicker picker;
    picker.DroppedDown("http://www.kirimi.net/");
    EXPECT_EQ(picker.closeUpHandled(), 0);
    // The same text: nothing opens, and the state is reset.
    EXPECT_EQ(picker.ClosedUp(std::string("http://www.kirimi.net/"), table), std::nullopt);
    EXPECT_EQ(picker.textAtDropDown(), "");
    EXPECT_EQ(picker.closeUpHandled(), 1);
    // While a close-up has just been handled, selection changes are ignored.
    EXPECT_FALSE(picker.SelectionChanged(false));

    picker.DroppedDown("http://www.kirimi.net/");
    EXPECT_EQ(picker.ClosedUp(std::string("http://www.USAMI-pharma.co.jp/"), table),
              "umaker00.htm");
    // Byte for byte: the same address in other letters is another entry, and opens.
    picker.DroppedDown("http://www.kirimi.net/");
    EXPECT_EQ(picker.ClosedUp(std::string("HTTP://WWW.KIRIMI.NET/"), table), "otop.htm");
    picker.DroppedDown("http://www.kirimi.net/");
    EXPECT_EQ(picker.ClosedUp(std::string("gone"), table), std::nullopt);  // no longer resolves
    EXPECT_EQ(picker.closeUpHandled(), 1);

    // No selection: nothing at all, the text at drop-down is kept.
    picker.DroppedDown("x");
    EXPECT_EQ(picker.ClosedUp(std::nullopt, table), std::nullopt);
    EXPECT_EQ(picker.textAtDropDown(), "x");
    EXPECT_EQ(picker.closeUpHandled(), 0);

    // The keyboard in the closed box drops the list down; not while it is down.
    EXPECT_FALSE(picker.SelectionChanged(true));
    EXPECT_TRUE(picker.SelectionChanged(false));
    picker.ClosedUp(std::string("x"), table);
    picker.SelectionConfirmed();
    EXPECT_TRUE(picker.SelectionChanged(false));
}

}  // namespace
