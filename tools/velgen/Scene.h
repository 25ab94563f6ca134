#pragma once

// Scene files: a picture described as shapes drawn one over the other, one
// command a line. Colours are six hexadecimal digits or names given with
// "colour NAME RRGGBB" (or in a file pulled in with "include FILE").
// A line that starts with [word] is drawn only when that variant is asked
// for, and one that starts with [!word] only when it is not (a line may carry
// several such tags), so that one file gives a picture and its variants.
// Comments start with #.
//
// Commands (coordinates and sizes in pixels of the picture):
//   sky C [C...]                   one colour, or a vertical gradient, over everything
//   vgradient X Y W H C C [C...]   vertical gradient in a rectangle
//   hgradient X Y W H C C [C...]   horizontal gradient in a rectangle
//   rect X Y W H C [ALPHA]         disc X Y R C [ALPHA]
//   ring X Y R WIDTH C [ALPHA]     line X1 Y1 X2 Y2 WIDTH C [ALPHA]
//   poly C [ALPHA=A] X Y X Y X Y...
//   glow X Y R C STRENGTH          light added, fading out at radius R
//   moon X Y R C                   a disc with a halo
//   stars COUNT BOTTOM SEED C      small stars above BOTTOM
//   ridge BASE AMPLITUDE SCALE SEED C [ALPHA]   everything below a wavy line
//   fog Y0 Y1 C DENSITY SEED [SCALE] [PERIOD]   a band of drifting fog
//   haze C ALPHA                   a veil over everything
//   water Y C C SEED               the sea from Y down, with ripples
//   reflect X Y W C STRENGTH SEED  a broken streak of light on the water
//   houses X0 X1 BASE SEED C [LIGHT DENSITY [MINH MAXH]]   a row of houses;
//                                  a LIGHT of - leaves the windows dark
//   building X Y W H C [LIGHT ROWS COLS SEED DENSITY]      windows in a grid
//   lamp X Y H C [LIGHT]           street lamp standing at (X, Y)
//   lighthouse X Y H C [LIGHT ANGLE]                       beam towards ANGLE
//   figure X Y H C                 a standing person in a coat
//   tree X Y H C                   a pine
//   fence X0 X1 Y H C              posts and two wires
//   mast X Y H C [LIGHT]           a lattice mast with a lamp on top
//   dome X Y R C                   an observatory dome on its drum
//   boat X Y S C [LIGHT]           a small fishing boat
//   panel X Y W H FILL LIGHT DARK  a bevelled panel
//   frame WIDTH C                  a border around the picture
//   word X Y SIZE WIDTH C TEXT [TRACKING]   capitals and digits; _ is a space
//   wordc Y SIZE WIDTH C TEXT [TRACKING]    the same, centred
//   checker X Y W H C C SIZE       vignette STRENGTH       grain AMOUNT SEED

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Raster.h"

namespace velgen {

class SceneError {
  public:
    explicit SceneError(std::string text) : text_(std::move(text)) {}
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

class Scene {
  public:
    Scene(Raster& raster, std::set<std::string> variants)
        : r_(raster), variants_(std::move(variants)) {}

    void DrawFile(const std::filesystem::path& path) {
        std::ifstream in(path);
        if (!in) {
            throw SceneError("cannot read " + path.string());
        }
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            const size_t hash = line.find('#');
            if (hash != std::string::npos) {
                line.resize(hash);
            }
            std::istringstream words(line);
            std::vector<std::string> args;
            for (std::string word; words >> word;) {
                args.push_back(word);
            }
            if (args.empty() || !Wanted(args)) {
                continue;
            }
            try {
                Command(path, args);
            } catch (const SceneError& error) {
                throw SceneError(path.string() + ":" + std::to_string(number) + ": " +
                                 error.text());
            } catch (const std::exception&) {
                throw SceneError(path.string() + ":" + std::to_string(number) +
                                 ": cannot understand \"" + line + "\"");
            }
        }
    }

  private:
    // Takes the leading [variant] and [!variant] tags off and says whether
    // to draw: every tag must agree.
    bool Wanted(std::vector<std::string>& args) const {
        bool wanted = true;
        while (!args.empty() && args[0].size() >= 3 && args[0].front() == '[' &&
               args[0].back() == ']') {
            const std::string& tag = args[0];
            const bool negated = tag[1] == '!';
            const std::string name = tag.substr(negated ? 2 : 1, tag.size() - (negated ? 3 : 2));
            wanted = wanted && (variants_.count(name) > 0) != negated;
            args.erase(args.begin());
        }
        return wanted && !args.empty();
    }

    void Command(const std::filesystem::path& path, const std::vector<std::string>& a) {
        const std::string& c = a[0];
        auto need = [&](size_t n) {
            if (a.size() < n + 1) {
                throw SceneError("\"" + c + "\" needs " + std::to_string(n) + " values");
            }
        };
        auto f = [&](size_t i) { return std::stof(a.at(i)); };
        auto opt = [&](size_t i, float fallback) {
            return i < a.size() ? std::stof(a[i]) : fallback;
        };
        auto seed = [&](size_t i) { return static_cast<uint32_t>(std::stoul(a.at(i))); };
        auto col = [&](size_t i) { return Colour(a.at(i)); };

        if (c == "colour") {
            need(2);
            names_[a[1]] = Colour(a[2]);
        } else if (c == "include") {
            need(1);
            DrawFile(path.parent_path() / a[1]);
        } else if (c == "sky") {
            need(1);
            r_.VerticalGradient(0, 0, r_.width(), r_.height(), Colours(a, 1));
        } else if (c == "vgradient" || c == "hgradient") {
            need(6);
            const auto stops = Colours(a, 5);
            if (c == "vgradient") {
                r_.VerticalGradient(static_cast<int>(f(1)), static_cast<int>(f(2)),
                                    static_cast<int>(f(3)), static_cast<int>(f(4)), stops);
            } else {
                r_.HorizontalGradient(static_cast<int>(f(1)), static_cast<int>(f(2)),
                                      static_cast<int>(f(3)), static_cast<int>(f(4)), stops);
            }
        } else if (c == "rect") {
            need(5);
            r_.Rect(f(1), f(2), f(3), f(4), col(5), opt(6, 1));
        } else if (c == "disc") {
            need(4);
            r_.Disc(f(1), f(2), f(3), col(4), opt(5, 1));
        } else if (c == "ring") {
            need(5);
            r_.Ring(f(1), f(2), f(3), f(4), col(5), opt(6, 1));
        } else if (c == "line") {
            need(6);
            r_.Line(f(1), f(2), f(3), f(4), f(5), col(6), opt(7, 1));
        } else if (c == "poly") {
            need(7);
            float alpha = 1;
            size_t i = 2;
            if (a[2].rfind("alpha=", 0) == 0) {
                alpha = std::stof(a[2].substr(6));
                ++i;
            }
            std::vector<std::pair<float, float>> points;
            for (; i + 1 < a.size(); i += 2) {
                points.emplace_back(f(i), f(i + 1));
            }
            r_.Polygon(points, col(1), alpha);
        } else if (c == "glow") {
            need(5);
            r_.Glow(f(1), f(2), f(3), col(4), f(5));
        } else if (c == "moon") {
            need(4);
            r_.Glow(f(1), f(2), f(3) * 5, col(4), 45);
            r_.Disc(f(1), f(2), f(3), col(4));
        } else if (c == "stars") {
            need(4);
            Stars(static_cast<int>(f(1)), f(2), seed(3), col(4));
        } else if (c == "ridge") {
            need(5);
            r_.Ridge(f(1), f(2), f(3), seed(4), col(5), opt(6, 1));
        } else if (c == "fog") {
            need(5);
            r_.Fog(f(1), f(2), col(3), f(4), seed(5), opt(6, 90), static_cast<int>(opt(7, 0)));
        } else if (c == "haze") {
            need(2);
            r_.Rect(0, 0, static_cast<float>(r_.width()), static_cast<float>(r_.height()), col(1),
                    f(2));
        } else if (c == "water") {
            need(4);
            Water(f(1), col(2), col(3), seed(4));
        } else if (c == "reflect") {
            need(6);
            Reflect(f(1), f(2), f(3), col(4), f(5), seed(6));
        } else if (c == "houses") {
            need(5);
            Houses(f(1), f(2), f(3), seed(4), col(5), a.size() > 7 && a[6] != "-" ? col(6) : Rgb{},
                   opt(7, 0), opt(8, 22), opt(9, 58));
        } else if (c == "building") {
            need(5);
            Building(f(1), f(2), f(3), f(4), col(5), a.size() > 10 ? col(6) : Rgb{},
                     static_cast<int>(opt(7, 0)), static_cast<int>(opt(8, 0)),
                     a.size() > 9 ? seed(9) : 0, opt(10, 0));
        } else if (c == "lamp") {
            need(4);
            Lamp(f(1), f(2), f(3), col(4), a.size() > 5, a.size() > 5 ? col(5) : Rgb{});
        } else if (c == "lighthouse") {
            need(4);
            Lighthouse(f(1), f(2), f(3), col(4), a.size() > 6, a.size() > 6 ? col(5) : Rgb{},
                       opt(6, 0));
        } else if (c == "figure") {
            need(4);
            Figure(f(1), f(2), f(3), col(4));
        } else if (c == "tree") {
            need(4);
            Tree(f(1), f(2), f(3), col(4));
        } else if (c == "fence") {
            need(5);
            Fence(f(1), f(2), f(3), f(4), col(5));
        } else if (c == "mast") {
            need(4);
            Mast(f(1), f(2), f(3), col(4), a.size() > 5, a.size() > 5 ? col(5) : Rgb{});
        } else if (c == "dome") {
            need(4);
            Dome(f(1), f(2), f(3), col(4));
        } else if (c == "boat") {
            need(4);
            Boat(f(1), f(2), f(3), col(4), a.size() > 5, a.size() > 5 ? col(5) : Rgb{});
        } else if (c == "panel") {
            need(7);
            Panel(f(1), f(2), f(3), f(4), col(5), col(6), col(7));
        } else if (c == "frame") {
            need(2);
            const float w = f(1);
            const float W = static_cast<float>(r_.width()), H = static_cast<float>(r_.height());
            r_.Rect(0, 0, W, w, col(2));
            r_.Rect(0, H - w, W, w, col(2));
            r_.Rect(0, 0, w, H, col(2));
            r_.Rect(W - w, 0, w, H, col(2));
        } else if (c == "word" || c == "wordc") {
            const size_t base = c == "word" ? 2 : 1;
            need(base + 4);
            std::string text = a[base + 4];
            for (char& ch : text) {
                ch = ch == '_' ? ' ' : ch;
            }
            const float size = f(base + 1), tracking = opt(base + 5, 2);
            const float x =
                c == "word" ? f(1) : (r_.width() - Raster::WordWidth(size, text, tracking)) / 2;
            r_.Word(x, f(base), size, f(base + 2), col(base + 3), text, tracking);
        } else if (c == "checker") {
            need(7);
            const int size = std::max(1, static_cast<int>(f(7)));
            for (int y = static_cast<int>(f(2)); y < static_cast<int>(f(2) + f(4)); ++y) {
                for (int x = static_cast<int>(f(1)); x < static_cast<int>(f(1) + f(3)); ++x) {
                    r_.Blend(x, y, ((x / size + y / size) % 2) ? col(5) : col(6), 1);
                }
            }
        } else if (c == "vignette") {
            need(1);
            r_.Vignette(f(1));
        } else if (c == "grain") {
            need(2);
            r_.Grain(f(1), seed(2));
        } else {
            throw SceneError("unknown command \"" + c + "\"");
        }
    }

    Rgb Colour(const std::string& text) const {
        const auto named = names_.find(text);
        if (named != names_.end()) {
            return named->second;
        }
        if (text.size() != 6 ||
            text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            throw SceneError("\"" + text + "\" is neither a colour name nor RRGGBB");
        }
        const auto v = static_cast<uint32_t>(std::stoul(text, nullptr, 16));
        return {static_cast<float>(v >> 16 & 255), static_cast<float>(v >> 8 & 255),
                static_cast<float>(v & 255)};
    }

    std::vector<Rgb> Colours(const std::vector<std::string>& a, size_t from) const {
        std::vector<Rgb> out;
        for (size_t i = from; i < a.size(); ++i) {
            out.push_back(Colour(a[i]));
        }
        return out;
    }

    // ---- the town's shapes ----

    void Stars(int count, float bottom, uint32_t seed, const Rgb& c) {
        for (int i = 0; i < count; ++i) {
            const float x = Random01(seed, i, 1) * r_.width();
            const float y = Random01(seed, i, 2) * bottom;
            const float size = 0.35f + Random01(seed, i, 3) * 0.6f;
            r_.Disc(x, y, size, c, 0.35f + Random01(seed, i, 4) * 0.6f);
        }
    }

    void Water(float top, const Rgb& near, const Rgb& far, uint32_t seed) {
        const int y0 = static_cast<int>(top);
        r_.VerticalGradient(0, y0, r_.width(), r_.height() - y0, {far, near});
        const Rgb light = Mix(far, Rgb{255, 255, 255}, 0.25f);
        for (int y = y0; y < r_.height(); ++y) {
            const float depth = static_cast<float>(y - y0 + 4);
            for (int x = 0; x < r_.width(); ++x) {
                const float n = ValueNoise(seed, x / (6.0f + depth * 0.5f), y * 0.9f);
                if (n > 0.72f) {
                    r_.Blend(x, y, light, (n - 0.72f) * 1.6f);
                }
            }
        }
    }

    void Reflect(float x, float top, float width, const Rgb& c, float strength, uint32_t seed) {
        for (int y = static_cast<int>(top); y < r_.height(); ++y) {
            const float n = ValueNoise(seed, 0.5f, y * 0.45f);
            if (n < 0.45f) {
                continue;
            }
            const float spread = width * (0.6f + (y - top) / 120.0f);
            const float shift = (ValueNoise(seed + 7, 0.5f, y * 0.3f) - 0.5f) * spread * 0.6f;
            r_.Rect(x - spread / 2 + shift, static_cast<float>(y), spread, 1, c,
                    strength * (n - 0.45f) * 1.8f);
        }
    }

    void Houses(float x0, float x1, float base, uint32_t seed, const Rgb& c, const Rgb& light,
                float density, float minH, float maxH) {
        float x = x0;
        for (int i = 0; x < x1; ++i) {
            const float w = 16 + Random01(seed, i, 1) * 30;
            const float h = minH + Random01(seed, i, 2) * (maxH - minH);
            const float top = base - h;
            r_.Rect(x, top, w + 0.5f, h + 1, c);
            const float roof = Random01(seed, i, 3);
            if (roof < 0.55f) {
                const float rh = w * (0.35f + Random01(seed, i, 4) * 0.2f);
                r_.Polygon({{x - 2, top + 0.5f}, {x + w / 2, top - rh}, {x + w + 2, top + 0.5f}},
                           c);
            } else if (roof < 0.75f) {
                r_.Polygon(
                    {{x - 1, top + 0.5f}, {x + w + 1, top - w * 0.18f}, {x + w + 1, top + 0.5f}},
                    c);
            }
            if (Random01(seed, i, 5) < 0.3f) {
                r_.Rect(x + w * 0.7f, top - w * 0.45f, 3, w * 0.3f, c);
            }
            if (density > 0) {
                for (float wy = top + 5; wy + 5 < base - 3; wy += 10) {
                    for (float wx = x + 4; wx + 4 < x + w - 2; wx += 8) {
                        if (Random01(seed, static_cast<int>(wx), static_cast<int>(wy)) < density) {
                            r_.Rect(wx, wy, 3.5f, 4.5f, light);
                            r_.Glow(wx + 1.75f, wy + 2.25f, 7, light, 18);
                        }
                    }
                }
            }
            x += w + Random01(seed, i, 6) * 4;
        }
    }

    void Building(float x, float y, float w, float h, const Rgb& c, const Rgb& light, int rows,
                  int cols, uint32_t seed, float density) {
        r_.Rect(x, y, w, h, c);
        if (rows <= 0 || cols <= 0) {
            return;
        }
        const float cw = w / cols, ch = h / rows;
        for (int row = 0; row < rows; ++row) {
            for (int col = 0; col < cols; ++col) {
                const float wx = x + col * cw + cw * 0.3f, wy = y + row * ch + ch * 0.25f;
                if (Random01(seed, col, row) < density) {
                    r_.Rect(wx, wy, cw * 0.4f, ch * 0.45f, light);
                    r_.Glow(wx + cw * 0.2f, wy + ch * 0.22f, cw * 1.2f, light, 22);
                } else {
                    r_.Rect(wx, wy, cw * 0.4f, ch * 0.45f, Mix(c, Rgb{255, 255, 255}, 0.06f));
                }
            }
        }
    }

    void Lamp(float x, float y, float h, const Rgb& c, bool lit, const Rgb& light) {
        const float pole = std::max(1.2f, h / 45);
        r_.Line(x, y, x, y - h * 0.92f, pole, c);
        r_.Rect(x - pole * 2, y - pole * 2, pole * 4, pole * 2, c);
        const float lw = h * 0.11f, lh = h * 0.14f, top = y - h;
        r_.Polygon({{x - lw * 0.35f, top + lh},
                    {x + lw * 0.35f, top + lh},
                    {x + lw * 0.6f, top + lh * 0.2f},
                    {x - lw * 0.6f, top + lh * 0.2f}},
                   lit ? Mix(light, Rgb{255, 250, 235}, 0.4f) : c);
        r_.Polygon({{x - lw * 0.75f, top + lh * 0.22f},
                    {x, top - lh * 0.15f},
                    {x + lw * 0.75f, top + lh * 0.22f}},
                   c);
        if (lit) {
            r_.Glow(x, top + lh * 0.6f, h * 0.9f, light, 70);
            r_.Glow(x, top + lh * 0.6f, h * 0.25f, light, 110);
        }
    }

    void Lighthouse(float x, float y, float h, const Rgb& c, bool lit, const Rgb& light,
                    float angle) {
        const float bw = h * 0.14f, tw = h * 0.09f, top = y - h * 0.82f;
        r_.Polygon({{x - bw, y}, {x + bw, y}, {x + tw, top}, {x - tw, top}}, c);
        r_.Rect(x - tw * 1.5f, top - h * 0.03f, tw * 3, h * 0.03f, c);
        const float room = h * 0.1f;
        r_.Rect(x - tw * 0.8f, top - h * 0.03f - room, tw * 1.6f, room,
                lit ? Mix(light, Rgb{255, 255, 240}, 0.5f) : c);
        r_.Polygon({{x - tw * 1.1f, top - h * 0.03f - room},
                    {x, top - h * 0.03f - room - h * 0.07f},
                    {x + tw * 1.1f, top - h * 0.03f - room}},
                   c);
        if (!lit) {
            return;
        }
        const float lx = x, ly = top - h * 0.03f - room * 0.5f;
        r_.Glow(lx, ly, h * 0.5f, light, 120);
        // The beam: a cone of added light that fades along its length.
        const float a = angle * 3.14159265f / 180, half = 0.07f;
        const float reach = static_cast<float>(r_.width()) * 1.2f;
        for (int py = 0; py < r_.height(); ++py) {
            for (int px = 0; px < r_.width(); ++px) {
                const float dx = px + 0.5f - lx, dy = py + 0.5f - ly;
                const float d = std::hypot(dx, dy);
                if (d < 2 || d > reach) {
                    continue;
                }
                float diff = std::fmod(std::fabs(std::atan2(dy, dx) - a), 6.2831853f);
                diff = std::min(diff, 6.2831853f - diff);
                if (diff < half) {
                    const float k = (1 - diff / half) * (1 - d / reach);
                    r_.Add(px, py, light, 0.35f * k * k);
                }
            }
        }
    }

    void Figure(float x, float y, float h, const Rgb& c) {
        const float top = y - h;
        r_.Disc(x, top + h * 0.075f, h * 0.07f, c);
        r_.Rect(x - h * 0.03f, top + h * 0.13f, h * 0.06f, h * 0.05f, c);
        r_.Polygon({{x - h * 0.12f, top + h * 0.2f},
                    {x - h * 0.06f, top + h * 0.16f},
                    {x + h * 0.06f, top + h * 0.16f},
                    {x + h * 0.12f, top + h * 0.2f},
                    {x + h * 0.15f, top + h * 0.72f},
                    {x - h * 0.15f, top + h * 0.72f}},
                   c);
        r_.Line(x - h * 0.06f, top + h * 0.7f, x - h * 0.07f, y - h * 0.01f, h * 0.06f, c);
        r_.Line(x + h * 0.06f, top + h * 0.7f, x + h * 0.07f, y - h * 0.01f, h * 0.06f, c);
    }

    void Tree(float x, float y, float h, const Rgb& c) {
        r_.Rect(x - h * 0.03f, y - h * 0.15f, h * 0.06f, h * 0.15f, c);
        for (int i = 0; i < 3; ++i) {
            const float base = y - h * (0.12f + 0.25f * i), w = h * (0.32f - 0.08f * i);
            r_.Polygon({{x - w, base}, {x, base - h * 0.42f}, {x + w, base}}, c);
        }
    }

    void Fence(float x0, float x1, float y, float h, const Rgb& c) {
        for (float x = x0; x <= x1; x += 14) {
            r_.Line(x, y, x, y - h, 1.6f, c);
        }
        r_.Line(x0, y - h * 0.35f, x1, y - h * 0.35f, 0.8f, c);
        r_.Line(x0, y - h * 0.8f, x1, y - h * 0.8f, 0.8f, c);
    }

    void Mast(float x, float y, float h, const Rgb& c, bool lit, const Rgb& light) {
        const float w = h * 0.08f;
        r_.Line(x - w, y, x - w * 0.15f, y - h, 1.4f, c);
        r_.Line(x + w, y, x + w * 0.15f, y - h, 1.4f, c);
        for (int i = 0; i < 8; ++i) {
            const float t0 = i / 8.0f, t1 = (i + 1) / 8.0f;
            const float w0 = w - (w * 0.85f) * t0, w1 = w - (w * 0.85f) * t1;
            r_.Line(x - w0, y - h * t0, x + w1, y - h * t1, 0.8f, c);
            r_.Line(x + w0, y - h * t0, x - w1, y - h * t1, 0.8f, c);
        }
        if (lit) {
            r_.Disc(x, y - h - 1, 1.8f, light);
            r_.Glow(x, y - h - 1, 14, light, 120);
        }
    }

    void Dome(float x, float y, float r, const Rgb& c) {
        r_.Rect(x - r * 1.05f, y - r * 0.7f, r * 2.1f, r * 0.7f, c);
        std::vector<std::pair<float, float>> half;
        for (int i = 0; i <= 24; ++i) {
            const float t = 3.14159265f * i / 24;
            half.emplace_back(x - std::cos(t) * r, y - r * 0.7f - std::sin(t) * r);
        }
        r_.Polygon(half, c);
    }

    void Boat(float x, float y, float s, const Rgb& c, bool lit, const Rgb& light) {
        r_.Polygon(
            {{x - s, y - s * 0.25f}, {x + s, y - s * 0.25f}, {x + s * 0.75f, y}, {x - s * 0.8f, y}},
            c);
        r_.Rect(x - s * 0.2f, y - s * 0.55f, s * 0.5f, s * 0.3f, c);
        r_.Line(x + s * 0.1f, y - s * 0.25f, x + s * 0.1f, y - s * 1.1f, std::max(1.0f, s * 0.05f),
                c);
        if (lit) {
            r_.Disc(x + s * 0.1f, y - s * 1.1f, 1.5f, light);
            r_.Glow(x + s * 0.1f, y - s * 1.1f, s * 0.8f, light, 90);
        }
    }

    void Panel(float x, float y, float w, float h, const Rgb& fill, const Rgb& light,
               const Rgb& dark) {
        r_.Rect(x, y, w, h, fill);
        r_.Rect(x, y, w, 1, light);
        r_.Rect(x, y, 1, h, light);
        r_.Rect(x, y + h - 1, w, 1, dark);
        r_.Rect(x + w - 1, y, 1, h, dark);
    }

    Raster& r_;
    std::set<std::string> variants_;
    std::map<std::string, Rgb> names_;
};

}  // namespace velgen
