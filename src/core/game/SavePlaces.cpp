#include "game/SavePlaces.h"

namespace {

std::optional<SaveData> Decode(const StoredSave& stored) {
    return stored.bytes ? DecodeSaveFile(stored.bytes->data(), stored.bytes->size()) : std::nullopt;
}

}  // namespace

std::optional<ChosenSave> ChooseSave(const StoredSave& windowsDirectory,
                                     const StoredSave& userFolder) {
    std::optional<SaveData> windows = Decode(windowsDirectory);
    std::optional<SaveData> user = Decode(userFolder);
    if (user && (!windows || userFolder.writeTime > windowsDirectory.writeTime)) {
        return ChosenSave{std::move(*user), SavePlace::UserFolder};
    }
    if (windows) {
        return ChosenSave{std::move(*windows), SavePlace::WindowsDirectory};
    }
    return std::nullopt;
}

std::vector<SavePlace> SaveRoute::PlacesToTry() const {
    if (userFolder_) {
        return {SavePlace::UserFolder};
    }
    return {SavePlace::WindowsDirectory, SavePlace::UserFolder};
}

bool SaveRoute::Record(std::optional<SavePlace> tookIt) {
    if (tookIt) {
        userFolder_ = userFolder_ || *tookIt == SavePlace::UserFolder;
        return false;
    }
    // Nothing was written: the Windows directory has failed too.
    userFolder_ = true;
    const bool tell = !told_;
    told_ = true;
    return tell;
}
