#pragma once

// Score files: a short loop of a few voices, rendered to 16-bit mono samples
// that join without a click when the loop starts again (notes that ring past
// the end sound on at its beginning).
//
//   tempo BPM                       beats a minute
//   steps N                         steps a beat
//   echo SECONDS GAIN               a soft repeat of the whole mix (any number)
//   voice SHAPE VOLUME ATTACK DECAY [RELEASE] : NOTES...
//   : NOTES...                      more notes for the voice above
// SHAPE is sine, soft (a warm organ-like tone), bell, pluck, drone or surf
// (filtered noise that swells like waves; its notes only set when a swell
// starts). A note is a name with an octave (A4, C#3, Bb2), or several joined
// with + (D3+F3+A3); "-" holds the note before, "." is a rest. DECAY is the
// time in seconds in which a note falls to a third, 0 to hold it.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Raster.h"
#include "Scene.h"

namespace velgen {

struct Voice {
    std::string shape;
    float volume = 0.2f;
    float attack = 0.01f;
    float decay = 0;
    float release = 0.3f;
    std::vector<std::string> steps;
};

struct Score {
    float tempo = 80;
    int stepsPerBeat = 2;
    std::vector<std::pair<float, float>> echoes;
    std::vector<Voice> voices;
};

inline float NoteFrequency(const std::string& name) {
    static const char kLetters[] = "C D EF G A B";
    if (name.size() < 2) {
        throw SceneError("\"" + name + "\" is no note");
    }
    const char* at = std::find(kLetters, kLetters + 12, name[0]);
    if (at == kLetters + 12 || name[0] == ' ') {
        throw SceneError("\"" + name + "\" is no note");
    }
    int semitone = static_cast<int>(at - kLetters);
    size_t i = 1;
    if (name[i] == '#') {
        ++semitone;
        ++i;
    } else if (name[i] == 'b') {
        --semitone;
        ++i;
    }
    const int octave = std::stoi(name.substr(i));
    const int midi = (octave + 1) * 12 + semitone;
    return 440.0f * std::pow(2.0f, (midi - 69) / 12.0f);
}

inline Score ReadScore(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw SceneError("cannot read " + path);
    }
    Score score;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        // A comment starts with a # that begins a word: C#4 is a note.
        for (size_t hash = line.find('#'); hash != std::string::npos;
             hash = line.find('#', hash + 1)) {
            if (hash == 0 || line[hash - 1] == ' ' || line[hash - 1] == '\t') {
                line.resize(hash);
                break;
            }
        }
        std::istringstream words(line);
        std::string first;
        if (!(words >> first)) {
            continue;
        }
        try {
            if (first == "tempo") {
                words >> score.tempo;
            } else if (first == "steps") {
                words >> score.stepsPerBeat;
            } else if (first == "echo") {
                float seconds = 0, gain = 0;
                words >> seconds >> gain;
                score.echoes.emplace_back(seconds, gain);
            } else if (first == "voice" || first == ":") {
                if (first == "voice") {
                    Voice voice;
                    words >> voice.shape >> voice.volume >> voice.attack >> voice.decay;
                    std::string next;
                    words >> next;
                    if (next != ":") {
                        voice.release = std::stof(next);
                        words >> next;
                    }
                    if (next != ":") {
                        throw SceneError("a voice line lists its notes after \":\"");
                    }
                    score.voices.push_back(voice);
                } else if (score.voices.empty()) {
                    throw SceneError("notes before the first voice");
                }
                for (std::string step; words >> step;) {
                    score.voices.back().steps.push_back(step);
                }
            } else {
                throw SceneError("unknown line \"" + first + "\"");
            }
        } catch (const SceneError& error) {
            throw SceneError(path + ":" + std::to_string(number) + ": " + error.text());
        } catch (const std::exception&) {
            throw SceneError(path + ":" + std::to_string(number) + ": cannot understand the line");
        }
    }
    if (score.voices.empty() || score.tempo <= 0 || score.stepsPerBeat <= 0) {
        throw SceneError(path + ": a score needs a tempo and at least one voice");
    }
    return score;
}

class Synth {
  public:
    static constexpr int kRate = 22050;

    explicit Synth(const Score& score) : score_(score) {
        for (const Voice& voice : score.voices) {
            length_ = std::max(length_, voice.steps.size());
        }
        stepSamples_ =
            static_cast<size_t>(std::lround(kRate * 60.0 / score.tempo / score.stepsPerBeat));
        mix_.assign(length_ * stepSamples_, 0.0f);
    }

    std::vector<int16_t> Render() {
        uint32_t voiceSeed = 1;
        for (const Voice& voice : score_.voices) {
            RenderVoice(voice, voiceSeed++);
        }
        std::vector<float> wet = mix_;
        for (const auto& [seconds, gain] : score_.echoes) {
            const size_t delay = static_cast<size_t>(seconds * kRate) % mix_.size();
            for (size_t i = 0; i < mix_.size(); ++i) {
                wet[(i + delay) % mix_.size()] += mix_[i] * gain;
            }
        }
        float peak = 1e-6f;
        for (float v : wet) {
            peak = std::max(peak, std::fabs(v));
        }
        std::vector<int16_t> out(wet.size());
        const float gain = 0.5f / peak;  // quiet: a page sound plays under everything
        for (size_t i = 0; i < wet.size(); ++i) {
            out[i] =
                static_cast<int16_t>(std::lround(std::tanh(wet[i] * gain * 1.2f) / 1.2f * 32767));
        }
        return out;
    }

  private:
    void RenderVoice(const Voice& voice, uint32_t seed) {
        for (size_t step = 0; step < length_; ++step) {
            const std::string& token = voice.steps[step % voice.steps.size()];
            if (token == "-" || token == ".") {
                continue;
            }
            size_t hold = 1;
            while (hold < length_ && voice.steps[(step + hold) % voice.steps.size()] == "-") {
                ++hold;
            }
            std::stringstream notes(token);
            std::vector<std::string> chord;
            for (std::string note; std::getline(notes, note, '+');) {
                chord.push_back(note);
            }
            for (const std::string& note : chord) {
                Note(voice, voice.shape == "surf" ? 0 : NoteFrequency(note), step * stepSamples_,
                     hold * stepSamples_, seed + static_cast<uint32_t>(step) * 31, chord.size());
            }
        }
    }

    void Note(const Voice& voice, float hz, size_t start, size_t length, uint32_t seed,
              size_t chordSize) {
        const float attack = std::max(0.002f, voice.attack) * kRate;
        const float release = std::max(0.01f, voice.release) * kRate;
        const size_t total = length + static_cast<size_t>(release * 4);
        const float volume = voice.volume / std::sqrt(static_cast<float>(chordSize));
        float low = 0, lower = 0;
        for (size_t i = 0; i < total && i < mix_.size() * 2; ++i) {
            const float t = static_cast<float>(i) / kRate;
            float envelope = std::min(1.0f, i / attack);
            if (voice.decay > 0) {
                envelope *= std::exp(-t / voice.decay);
            }
            if (i > length) {
                envelope *= std::exp(-static_cast<float>(i - length) / release);
            }
            const float phase = 6.2831853f * hz * t;
            float v = 0;
            if (voice.shape == "sine") {
                v = std::sin(phase);
            } else if (voice.shape == "soft") {
                v = std::sin(phase) + 0.3f * std::sin(2 * phase) + 0.12f * std::sin(3 * phase);
            } else if (voice.shape == "bell") {
                v = std::sin(phase) + 0.45f * std::sin(2.76f * phase) * std::exp(-t * 3) +
                    0.25f * std::sin(5.4f * phase) * std::exp(-t * 6);
            } else if (voice.shape == "pluck") {
                v = std::sin(phase) + 0.5f * std::sin(2 * phase) * std::exp(-t * 4) +
                    0.3f * std::sin(3 * phase) * std::exp(-t * 7);
            } else if (voice.shape == "drone") {
                v = std::sin(phase) + std::sin(phase * 1.004f + 0.7f) * 0.8f +
                    0.2f * std::sin(phase * 0.5f);
            } else if (voice.shape == "surf") {
                // Noise through two gentle low-pass steps, swelling and ebbing.
                const float noise = Random01(seed, static_cast<int32_t>(i)) * 2 - 1;
                low += (noise - low) * 0.08f;
                lower += (low - lower) * 0.15f;
                v = lower * 6 *
                    std::sin(3.14159265f * std::min(1.0f, static_cast<float>(i) / total));
            } else {
                throw SceneError("unknown voice shape \"" + voice.shape + "\"");
            }
            mix_[(start + i) % mix_.size()] += v * envelope * volume;
        }
    }

    const Score& score_;
    size_t length_ = 0;
    size_t stepSamples_ = 0;
    std::vector<float> mix_;
};

}  // namespace velgen
