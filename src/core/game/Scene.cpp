#include "game/Scene.h"

#include <algorithm>
#include <cstdio>

#include "archive/Archive.h"
#include "game/GameState.h"
#include "game/StoryRules.h"
#include "picture/DibPicture.h"
#include "text/ShiftJis.h"

namespace {

std::string Numbered(const char* pattern, int n) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, pattern, n);
    return buffer;
}

bool Contains(std::string_view text, std::string_view what) {
    return text.find(what) != std::string_view::npos;
}

}  // namespace

std::string ScenarioFileName(ScenarioKind kind, int number) {
    return Numbered(kind == ScenarioKind::Message ? "tous%02d.txt" : "suga%02d.txt", number);
}

std::vector<std::string> SplitScenarioLines(const uint8_t* text, size_t size) {
    std::vector<std::string> lines;
    const auto ends = [&](size_t i) { return text[i] == 0 || text[i] == '\r' || text[i] == '\n'; };
    size_t p = 0;
    while (p < size) {
        if (ends(p)) {
            ++p;
            continue;
        }
        size_t end = p;
        while (end < size && !ends(end)) {
            ++end;
        }
        if (IsLeadByte(text[p])) {
            lines.emplace_back(reinterpret_cast<const char*>(text + p), end - p);
        }
        p = end;
    }
    return lines;
}

LineKind ClassifyScenarioLine(std::string_view line) {
    if (Contains(line, "□ＰＡＳＳＷＯＲＤ")) {
        return LineKind::Password;
    }
    if (Contains(line, "□")) {
        return LineKind::Picture;
    }
    if (Contains(line, "［")) {
        return LineKind::Label;
    }
    return LineKind::Text;
}

std::optional<int> ScenePictureNumber(std::string_view line) {
    if (line.size() < 10) {
        return std::nullopt;
    }
    int number = 0;
    for (size_t at = 3; at <= 9; at += 2) {
        const int digit = static_cast<signed char>(line[at]) - 0x4F;
        if (digit < 0 || digit > 9) {
            return std::nullopt;
        }
        number = number * 10 + digit;
    }
    return number;
}

std::string ScenePictureName(ScenarioKind kind, int number) {
    return Numbered(kind == ScenarioKind::Message ? "pict%04dm.bmp" : "pict%04d.bmp", number);
}

bool Scene::Load(const Archive& textArchive, ScenarioKind kind, int number) {
    const std::optional<EntryData> entry =
        textArchive.ReadEntry(ScenarioFileName(kind, number), kScenarioReaderBuffers);
    if (!entry) {
        LoadFromBytes(kind, number, nullptr, 0);
        return false;
    }
    LoadFromBytes(kind, number, entry->bytes.data(),
                  std::min<size_t>(entry->size, entry->bytes.size()));
    return true;
}

void Scene::LoadFromBytes(ScenarioKind kind, int number, const uint8_t* text, size_t size) {
    kind_ = kind;
    number_ = number;
    fileName_ = ScenarioFileName(kind, number);
    lines_ = text != nullptr ? SplitScenarioLines(text, size) : std::vector<std::string>{};
    next_ = 0;
}

SceneStep Scene::Next(const GameState& state) {
    while (next_ < lines_.size()) {
        const std::string& line = lines_[next_++];
        switch (ClassifyScenarioLine(line)) {
            case LineKind::Password:
                if (number_ >= 0 && number_ < kPasswordSlots &&
                    state.passwordSolved[static_cast<size_t>(number_)] == 0) {
                    return {SceneStep::Kind::Password, line, {}, number_};
                }
                break;
            case LineKind::Picture:
                if (const std::optional<int> number = ScenePictureNumber(line)) {
                    return {SceneStep::Kind::Picture, line, ScenePictureName(kind_, *number), -1};
                }
                break;
            case LineKind::Label:
                return {SceneStep::Kind::Label, line, {}, -1};
            case LineKind::Text:
                return {SceneStep::Kind::Text, line, {}, -1};
        }
    }
    return {};
}

void Scene::PasswordAccepted(GameState& state) {
    ApplyScenePasswordStage(state);
}

void WhitenScenePicture(DibPicture& loaded) {
    if (loaded.empty() || loaded.width() != kScenePictureWidth ||
        loaded.height() != kScenePictureHeight) {
        BitmapInfoHeader header;
        header.width = kScenePictureWidth;
        header.height = kScenePictureHeight;
        header.bitCount = 24;
        header.imageSize = kScenePictureWidth * kScenePictureHeight * 3;
        loaded.CreateBlank(header);
    }
    loaded.Fill(0xFF);
}
