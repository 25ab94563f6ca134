#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

// The plug-in's simulated installation: two phases, each a status text and a
// run of progress positions, one position each time more than the phase's
// step has passed since the one before. The progress ends at 99.
struct PluginSetupPhase {
    int first;
    int last;
    uint32_t stepMs;
    std::string_view text;
};

inline constexpr std::string_view kPluginSetupReadyText = "プラグインをブラウザへ組み込みます。";
inline constexpr std::array<PluginSetupPhase, 2> kPluginSetupPhases{{
    {0, 29, 50, "プラグインを読みこんでいます･････"},
    {30, 99, 70, "プラグインをブラウザへ組み込んでいます･････"},
}};

// `now` is a millisecond clock that may wrap around; `wait` lets a little
// time pass (the dialog sleeps; it never spins).
struct SetupPacing {
    std::function<uint32_t()> now;
    std::function<void()> wait;
};

// Both phases in turn: `phase` hears each one's start, `show` every position.
void RunPluginSetupPhases(const SetupPacing& pacing,
                          const std::function<void(const PluginSetupPhase&)>& phase,
                          const std::function<void(int)>& show);
