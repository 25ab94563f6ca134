#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class Archive;

inline constexpr std::string_view kDownloadDoneText = "ダウンロード完了しました。";
inline constexpr std::string_view kDownloadDoneCaption = "Brivane";
inline constexpr std::string_view kDownloadFailedText = "ファイルのダウンロードに失敗しました。";

// The name a download is offered under, and shown with: the entry's name
// cut between characters to what a save dialog's name field takes.
inline constexpr size_t kOfferedNameBytes = 255;
std::string_view OfferedDownloadName(std::string_view fileName);

// What a download of `fileName` writes: the entry of "ex.arc" decoded, exactly
// its unpacked size, with zeros where a damaged stream decoded short. Nothing
// when the archive lacks the entry or cannot give it.
std::optional<std::vector<uint8_t>> ReadDownload(const Archive& ex, std::string_view fileName);
