#include "browser/SaveStore.h"

#include "Message.h"
#include "framework/Files.h"
#include "framework/Text.h"

namespace {

constexpr wchar_t kSaveFileName[] = L"velmora.dat";
// A kill while saving leaves this one behind; the next save takes it up.
constexpr wchar_t kTemporaryName[] = L"velmora.tmp";

std::wstring FolderOf(SavePlace place) {
    return place == SavePlace::WindowsDirectory ? InWindowsDirectory(L"")
                                                : SaveStore::UserFolder() + L"\\";
}

StoredSave Read(SavePlace place) {
    const std::wstring path = SaveStore::PathOf(place);
    if (path.empty()) {
        return {};
    }
    return StoredSave{ReadWholeFile(path), LastWriteTime(path).value_or(0)};
}

bool WriteTo(SavePlace place, const std::vector<uint8_t>& bytes) {
    const std::wstring path = SaveStore::PathOf(place);
    if (path.empty()) {
        return false;
    }
    if (place == SavePlace::UserFolder && !MakeFolder(SaveStore::UserFolder())) {
        return false;
    }
    return WriteFileAtomically(path, bytes, FolderOf(place) + kTemporaryName);
}

}  // namespace

std::wstring SaveStore::UserFolder() {
    return InLocalAppData(L"Velmora").value_or(L"");
}

std::wstring SaveStore::PathOf(SavePlace place) {
    if (place == SavePlace::UserFolder && UserFolder().empty()) {
        return L"";
    }
    return FolderOf(place) + kSaveFileName;
}

std::optional<SaveData> SaveStore::Load() const {
    std::optional<ChosenSave> chosen =
        ChooseSave(Read(SavePlace::WindowsDirectory), Read(SavePlace::UserFolder));
    if (!chosen) {
        return std::nullopt;
    }
    return std::move(chosen->data);
}

bool SaveStore::Save(const SaveData& data) {
    const std::vector<uint8_t> bytes = EncodeSaveFile(data);
    for (SavePlace place : route_.PlacesToTry()) {
        if (WriteTo(place, bytes)) {
            route_.Record(place);
            return true;
        }
    }
    if (route_.Record(std::nullopt)) {
        ShowMessage(kSaveImpossibleText + Narrow(UserFolder()));
    }
    return false;
}
