#include "game/GameState.h"

#include <algorithm>
#include <cstring>

#include "LittleEndian.h"
#include "game/PasswordTable.h"
#include "text/ShiftJis.h"

namespace {

// Where each field starts in the record; every one follows the one before.
constexpr size_t kMessageWait = 0;
constexpr size_t kAddressBarVisible = kMessageWait + 1;
constexpr size_t kToolBarVisible = kAddressBarVisible + 1;
constexpr size_t kStatusBarVisible = kToolBarVisible + 1;
constexpr size_t kPluginMissing = kStatusBarVisible + 1;
constexpr size_t kPasswordSolved = kPluginMissing + 1;
constexpr size_t kHomeAddress = kPasswordSolved + GameState::kProtectedPages;
constexpr size_t kHomePage = kHomeAddress + kAddressFieldSize;
constexpr size_t kNotesRead = kHomePage + kPageNameFieldSize;
constexpr size_t kUmakerPage = kNotesRead + GameState::kNotePages;
constexpr size_t kKyoumakerPage = kUmakerPage + 256;
constexpr size_t kDisclosureStage = kKyoumakerPage + 256;
constexpr size_t kPageCounter = kDisclosureStage + 4;
constexpr size_t kKillerCounter = kPageCounter + 4;
constexpr size_t kReserved = kKillerCounter + 4;
constexpr size_t kFavouriteCount = kReserved + 4;
constexpr size_t kAddressCount = kFavouriteCount + 4;
constexpr size_t kVisitedCount = kAddressCount + 4;

static_assert(kPasswordSolved == 5 && kHomeAddress == 21 && kHomePage == 277 && kNotesRead == 297 &&
              kUmakerPage == 312 && kKyoumakerPage == 568 && kDisclosureStage == 824 &&
              kPageCounter == 828 && kKillerCounter == 832 && kReserved == 836 &&
              kFavouriteCount == 840 && kAddressCount == 844 && kVisitedCount == 848 &&
              kVisitedCount + 4 == GameState::kSize);
static_assert(GameState::kProtectedPages == kPasswordSlots);

}  // namespace

std::string_view FitField(std::string_view value, size_t width) {
    if (width == 0) {
        return {};
    }
    value = value.substr(0, value.find('\0'));
    // No longer than the text itself, so that a lone lead byte at its end is cut.
    return CutAtCharacter(value, std::min(width - 1, value.size()));
}

void WriteFixedString(uint8_t* field, size_t width, std::string_view value) {
    if (width == 0) {
        return;
    }
    const std::string_view kept = FitField(value, width);
    if (!kept.empty()) {
        std::memcpy(field, kept.data(), kept.size());
    }
    std::memset(field + kept.size(), 0, width - kept.size());
}

std::string ReadFixedString(const uint8_t* field, size_t width) {
    return std::string(
        FitField(std::string_view(reinterpret_cast<const char*>(field), width), width));
}

GameState GameState::NewGame() {
    GameState state;
    state.messageWait = 1;
    state.addressBarVisible = 1;
    state.toolBarVisible = 1;
    state.statusBarVisible = 1;
    state.pluginMissing = 1;
    state.homeAddress = kMakerHomeAddress;
    state.homePage = "otop.htm";
    state.umakerPage = "umaker00.htm";
    state.kyoumakerPage = "kyoumaker00.htm";
    return state;
}

GameState::Bytes GameState::ToBytes() const {
    Bytes bytes{};
    uint8_t* out = bytes.data();
    out[kMessageWait] = messageWait;
    out[kAddressBarVisible] = addressBarVisible;
    out[kToolBarVisible] = toolBarVisible;
    out[kStatusBarVisible] = statusBarVisible;
    out[kPluginMissing] = pluginMissing;
    std::copy(passwordSolved.begin(), passwordSolved.end(), out + kPasswordSolved);
    homeAddress.Store(out + kHomeAddress);
    homePage.Store(out + kHomePage);
    std::copy(notesRead.begin(), notesRead.end(), out + kNotesRead);
    umakerPage.Store(out + kUmakerPage);
    kyoumakerPage.Store(out + kKyoumakerPage);
    WriteLe32(out + kDisclosureStage, disclosureStage);
    WriteLe32(out + kPageCounter, pageCounter);
    WriteLe32(out + kKillerCounter, killerCounter);
    WriteLe32(out + kReserved, reserved);
    WriteLe32(out + kFavouriteCount, favouriteCount);
    WriteLe32(out + kAddressCount, addressCount);
    WriteLe32(out + kVisitedCount, visitedCount);
    return bytes;
}

GameState GameState::FromBytes(const Bytes& bytes) {
    return FromBytes(bytes.data());
}

GameState GameState::FromBytes(const uint8_t* in) {
    GameState state;
    state.messageWait = in[kMessageWait];
    state.addressBarVisible = in[kAddressBarVisible];
    state.toolBarVisible = in[kToolBarVisible];
    state.statusBarVisible = in[kStatusBarVisible];
    state.pluginMissing = in[kPluginMissing];
    std::copy_n(in + kPasswordSolved, kProtectedPages, state.passwordSolved.begin());
    state.homeAddress.Load(in + kHomeAddress);
    state.homePage.Load(in + kHomePage);
    std::copy_n(in + kNotesRead, kNotePages, state.notesRead.begin());
    state.umakerPage.Load(in + kUmakerPage);
    state.kyoumakerPage.Load(in + kKyoumakerPage);
    state.disclosureStage = ReadLe32(in + kDisclosureStage);
    state.pageCounter = ReadLe32(in + kPageCounter);
    state.killerCounter = ReadLe32(in + kKillerCounter);
    state.reserved = ReadLe32(in + kReserved);
    state.favouriteCount = ReadLe32(in + kFavouriteCount);
    state.addressCount = ReadLe32(in + kAddressCount);
    state.visitedCount = ReadLe32(in + kVisitedCount);
    return state;
}
