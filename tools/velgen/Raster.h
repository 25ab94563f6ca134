#pragma once

// A floating-point RGB canvas with the few anti-aliased shapes the demo
// world's pictures are made of: gradients, discs, glows, polygons, thick
// lines, ridges, value-noise fog and a stroke font for capital letters and
// digits. Everything is deterministic: the noise is a hash of its seed and
// lattice point, never a library generator.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velgen {

struct Rgb {
    float r = 0, g = 0, b = 0;
};

inline Rgb Mix(const Rgb& a, const Rgb& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline float Clamp01(float v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

inline float Smooth(float t) {
    t = Clamp01(t);
    return t * t * (3 - 2 * t);
}

inline uint32_t Hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

inline uint32_t Hash3(uint32_t seed, int32_t a, int32_t b) {
    return Hash(seed * 0x9E3779B9u ^ Hash(static_cast<uint32_t>(a) * 0x85EBCA6Bu ^
                                          Hash(static_cast<uint32_t>(b) + 0x27D4EB2Fu)));
}

// A number in [0, 1) from a seed and two integers.
inline float Random01(uint32_t seed, int32_t a, int32_t b = 0) {
    return static_cast<float>(Hash3(seed, a, b) >> 8) / 16777216.0f;
}

// Smooth value noise in [0, 1]; `period` > 0 makes it repeat along x.
inline float ValueNoise(uint32_t seed, float x, float y, int period = 0) {
    const float fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = Smooth(x - fx), ty = Smooth(y - fy);
    auto at = [&](int a, int b) {
        if (period > 0) {
            a = ((a % period) + period) % period;
        }
        return Random01(seed, a, b);
    };
    int ix1 = ix + 1;
    const float top = at(ix, iy) + (at(ix1, iy) - at(ix, iy)) * tx;
    const float bottom = at(ix, iy + 1) + (at(ix1, iy + 1) - at(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

// Three octaves of value noise, in [0, 1].
inline float Fbm(uint32_t seed, float x, float y, int period = 0) {
    float sum = 0, amplitude = 0.57f, total = 0;
    for (int octave = 0; octave < 3; ++octave) {
        sum += amplitude * ValueNoise(seed + static_cast<uint32_t>(octave) * 101, x, y, period);
        total += amplitude;
        x *= 2;
        y *= 2;
        period *= 2;
        amplitude *= 0.5f;
    }
    return sum / total;
}

class Raster {
  public:
    Raster(int width, int height)
        : w_(width), h_(height), px_(static_cast<size_t>(width) * height) {}

    int width() const { return w_; }
    int height() const { return h_; }

    Rgb& At(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }
    const Rgb& At(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }

    void Blend(int x, int y, const Rgb& c, float alpha) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || alpha <= 0) {
            return;
        }
        Rgb& p = At(x, y);
        p = Mix(p, c, Clamp01(alpha));
    }

    // Light added rather than painted over: lamps and glows.
    void Add(int x, int y, const Rgb& c, float amount) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || amount <= 0) {
            return;
        }
        Rgb& p = At(x, y);
        p.r = std::min(255.0f, p.r + c.r * amount);
        p.g = std::min(255.0f, p.g + c.g * amount);
        p.b = std::min(255.0f, p.b + c.b * amount);
    }

    // ---- fills ----

    void VerticalGradient(int x0, int y0, int w, int h, const std::vector<Rgb>& stops,
                          float alpha = 1) {
        for (int y = std::max(0, y0); y < std::min(h_, y0 + h); ++y) {
            const float t = h > 1 ? static_cast<float>(y - y0) / static_cast<float>(h - 1) : 0;
            const Rgb c = Stop(stops, t);
            for (int x = std::max(0, x0); x < std::min(w_, x0 + w); ++x) {
                Blend(x, y, c, alpha);
            }
        }
    }

    void HorizontalGradient(int x0, int y0, int w, int h, const std::vector<Rgb>& stops,
                            float alpha = 1) {
        for (int x = std::max(0, x0); x < std::min(w_, x0 + w); ++x) {
            const float t = w > 1 ? static_cast<float>(x - x0) / static_cast<float>(w - 1) : 0;
            const Rgb c = Stop(stops, t);
            for (int y = std::max(0, y0); y < std::min(h_, y0 + h); ++y) {
                Blend(x, y, c, alpha);
            }
        }
    }

    void Rect(float x0, float y0, float w, float h, const Rgb& c, float alpha = 1) {
        const int ix0 = static_cast<int>(std::floor(x0)), iy0 = static_cast<int>(std::floor(y0));
        const int ix1 = static_cast<int>(std::ceil(x0 + w)),
                  iy1 = static_cast<int>(std::ceil(y0 + h));
        for (int y = std::max(0, iy0); y < std::min(h_, iy1); ++y) {
            const float cy = Clamp01(std::min<float>(y + 1, y0 + h) - std::max<float>(y, y0));
            for (int x = std::max(0, ix0); x < std::min(w_, ix1); ++x) {
                const float cx = Clamp01(std::min<float>(x + 1, x0 + w) - std::max<float>(x, x0));
                Blend(x, y, c, alpha * cx * cy);
            }
        }
    }

    void Disc(float cx, float cy, float r, const Rgb& c, float alpha = 1) {
        ForBox(cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1, [&](int x, int y) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            Blend(x, y, c, alpha * Clamp01(r - d + 0.5f));
        });
    }

    void Ring(float cx, float cy, float r, float width, const Rgb& c, float alpha = 1) {
        ForBox(cx - r - width, cy - r - width, cx + r + width, cy + r + width, [&](int x, int y) {
            const float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - r);
            Blend(x, y, c, alpha * Clamp01(width / 2 - d + 0.5f));
        });
    }

    // A soft light: strongest in the middle, gone at radius r.
    void Glow(float cx, float cy, float r, const Rgb& c, float strength) {
        ForBox(cx - r, cy - r, cx + r, cy + r, [&](int x, int y) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / r;
            if (d < 1) {
                const float f = (1 - d) * (1 - d);
                Add(x, y, c, strength * f / 255.0f);
            }
        });
    }

    // A thick line with round ends.
    void Line(float x0, float y0, float x1, float y1, float width, const Rgb& c, float alpha = 1) {
        const float half = width / 2;
        ForBox(std::min(x0, x1) - half - 1, std::min(y0, y1) - half - 1,
               std::max(x0, x1) + half + 1, std::max(y0, y1) + half + 1, [&](int x, int y) {
                   const float d = SegmentDistance(x + 0.5f, y + 0.5f, x0, y0, x1, y1);
                   Blend(x, y, c, alpha * Clamp01(half - d + 0.5f));
               });
    }

    // A filled polygon (even-odd), anti-aliased over four sub-rows a pixel.
    void Polygon(const std::vector<std::pair<float, float>>& points, const Rgb& c,
                 float alpha = 1) {
        if (points.size() < 3) {
            return;
        }
        float minY = points[0].second, maxY = minY;
        for (const auto& p : points) {
            minY = std::min(minY, p.second);
            maxY = std::max(maxY, p.second);
        }
        constexpr int kSub = 4;
        std::vector<float> coverage(static_cast<size_t>(w_));
        std::vector<float> xs;
        for (int y = std::max(0, static_cast<int>(std::floor(minY)));
             y < std::min(h_, static_cast<int>(std::ceil(maxY)) + 1); ++y) {
            std::fill(coverage.begin(), coverage.end(), 0.0f);
            int left = w_, right = -1;
            for (int s = 0; s < kSub; ++s) {
                const float sy = y + (s + 0.5f) / kSub;
                xs.clear();
                for (size_t i = 0; i < points.size(); ++i) {
                    const auto& a = points[i];
                    const auto& b = points[(i + 1) % points.size()];
                    if ((a.second <= sy) != (b.second <= sy)) {
                        xs.push_back(a.first +
                                     (sy - a.second) * (b.first - a.first) / (b.second - a.second));
                    }
                }
                std::sort(xs.begin(), xs.end());
                for (size_t i = 0; i + 1 < xs.size(); i += 2) {
                    const float s0 = std::max(0.0f, xs[i]);
                    const float s1 = std::min(static_cast<float>(w_), xs[i + 1]);
                    for (int x = static_cast<int>(std::floor(s0));
                         x < static_cast<int>(std::ceil(s1)); ++x) {
                        const float cover = std::min<float>(x + 1, s1) - std::max<float>(x, s0);
                        if (cover > 0) {
                            coverage[static_cast<size_t>(x)] += cover / kSub;
                            left = std::min(left, x);
                            right = std::max(right, x);
                        }
                    }
                }
            }
            for (int x = left; x <= right; ++x) {
                Blend(x, y, c, alpha * coverage[static_cast<size_t>(x)]);
            }
        }
    }

    // Everything below a wavy line y(x) = base + amplitude * (noise - 0.5).
    void Ridge(float base, float amplitude, float scale, uint32_t seed, const Rgb& c,
               float alpha = 1) {
        for (int x = 0; x < w_; ++x) {
            const float top = base + amplitude * (Fbm(seed, (x + 0.5f) / scale, 0.5f) - 0.5f) * 2;
            for (int y = std::max(0, static_cast<int>(std::floor(top))); y < h_; ++y) {
                Blend(x, y, c, alpha * Clamp01(y + 1 - top));
            }
        }
    }

    // A drifting band of fog between y0 and y1, thickest in its middle.
    // The noise is sampled every 4 pixels and interpolated: it is smooth anyway.
    void Fog(float y0, float y1, const Rgb& c, float density, uint32_t seed, float scale,
             int period = 0) {
        constexpr int kStep = 4;
        const int gw = w_ / kStep + 2, gh = h_ / kStep + 2;
        std::vector<float> grid(static_cast<size_t>(gw) * gh);
        const int noisePeriod =
            period > 0 ? std::max(1, static_cast<int>(std::lround(period / scale))) : 0;
        for (int gy = 0; gy < gh; ++gy) {
            for (int gx = 0; gx < gw; ++gx) {
                grid[static_cast<size_t>(gy) * gw + gx] =
                    Fbm(seed, gx * kStep / scale, gy * kStep / (scale * 0.6f), noisePeriod);
            }
        }
        const float mid = (y0 + y1) / 2, half = std::max(1.0f, (y1 - y0) / 2);
        for (int y = std::max(0, static_cast<int>(y0));
             y < std::min(h_, static_cast<int>(std::ceil(y1))); ++y) {
            const float profile = Smooth(1 - std::fabs(y + 0.5f - mid) / half);
            const int gy = y / kStep;
            const float ty = static_cast<float>(y % kStep) / kStep;
            for (int x = 0; x < w_; ++x) {
                const int gx = x / kStep;
                const float tx = static_cast<float>(x % kStep) / kStep;
                const float* row0 = &grid[static_cast<size_t>(gy) * gw];
                const float* row1 = row0 + gw;
                const float n0 = row0[gx] + (row0[gx + 1] - row0[gx]) * tx;
                const float n1 = row1[gx] + (row1[gx + 1] - row1[gx]) * tx;
                const float n = n0 + (n1 - n0) * ty;
                Blend(x, y, c, density * profile * Smooth(0.15f + n * 1.1f));
            }
        }
    }

    void Vignette(float strength) {
        const float cx = w_ / 2.0f, cy = h_ / 2.0f;
        const float reach = std::hypot(cx, cy);
        for (int y = 0; y < h_; ++y) {
            for (int x = 0; x < w_; ++x) {
                const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / reach;
                const float f = 1 - strength * Smooth((d - 0.45f) / 0.55f);
                Rgb& p = At(x, y);
                p.r *= f;
                p.g *= f;
                p.b *= f;
            }
        }
    }

    // Film grain, faint and fixed by its seed.
    void Grain(float amount, uint32_t seed) {
        for (int y = 0; y < h_; ++y) {
            for (int x = 0; x < w_; ++x) {
                const float n = (Random01(seed, x, y) - 0.5f) * amount;
                Rgb& p = At(x, y);
                p.r = std::clamp(p.r + n, 0.0f, 255.0f);
                p.g = std::clamp(p.g + n, 0.0f, 255.0f);
                p.b = std::clamp(p.b + n, 0.0f, 255.0f);
            }
        }
    }

    // ---- lettering ----

    // Capital letters, digits and a few signs drawn as strokes on a 4 x 6 grid.
    void Word(float x, float y, float size, float width, const Rgb& c, std::string_view text,
              float tracking = 2) {
        const float unit = size / 6;
        for (char ch : text) {
            for (const auto& stroke : Glyph(ch)) {
                for (size_t i = 0; i + 1 < stroke.size(); ++i) {
                    Line(x + stroke[i].first * unit, y + stroke[i].second * unit,
                         x + stroke[i + 1].first * unit, y + stroke[i + 1].second * unit, width, c);
                }
            }
            x += (4 + tracking) * unit;
        }
    }

    static float WordWidth(float size, std::string_view text, float tracking = 2) {
        return text.empty() ? 0 : (size / 6) * ((4 + tracking) * text.size() - tracking);
    }

  private:
    template <typename F>
    void ForBox(float x0, float y0, float x1, float y1, F f) {
        const int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
        const int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
        const int ix1 = std::min(w_, static_cast<int>(std::ceil(x1)) + 1);
        const int iy1 = std::min(h_, static_cast<int>(std::ceil(y1)) + 1);
        for (int y = iy0; y < iy1; ++y) {
            for (int x = ix0; x < ix1; ++x) {
                f(x, y);
            }
        }
    }

    static float SegmentDistance(float px, float py, float x0, float y0, float x1, float y1) {
        const float dx = x1 - x0, dy = y1 - y0;
        const float length2 = dx * dx + dy * dy;
        float t = length2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / length2 : 0;
        t = Clamp01(t);
        return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
    }

    static Rgb Stop(const std::vector<Rgb>& stops, float t) {
        if (stops.size() == 1) {
            return stops[0];
        }
        const float at = t * static_cast<float>(stops.size() - 1);
        const size_t i = std::min(stops.size() - 2, static_cast<size_t>(at));
        return Mix(stops[i], stops[i + 1], Smooth(at - static_cast<float>(i)));
    }

    using Stroke = std::vector<std::pair<float, float>>;

    static std::vector<Stroke> Glyph(char ch) {
        static const std::array<std::pair<char, const char*>, 40> kGlyphs = {{
            {'A', "0,6 2,0 4,6|0.8,4 3.2,4"},
            {'B', "0,0 0,6 3,6 4,5 4,4 3,3 0,3|0,0 3,0 4,1 4,2 3,3"},
            {'C', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5"},
            {'D', "0,0 0,6 2,6 4,4 4,2 2,0 0,0"},
            {'E', "4,0 0,0 0,6 4,6|0,3 3,3"},
            {'F', "4,0 0,0 0,6|0,3 3,3"},
            {'G', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,3 2,3"},
            {'H', "0,0 0,6|4,0 4,6|0,3 4,3"},
            {'I', "1,0 3,0|2,0 2,6|1,6 3,6"},
            {'J', "4,0 4,5 3,6 1,6 0,5"},
            {'K', "0,0 0,6|4,0 0,4|1.4,2.9 4,6"},
            {'L', "0,0 0,6 4,6"},
            {'M', "0,6 0,0 2,3.5 4,0 4,6"},
            {'N', "0,6 0,0 4,6 4,0"},
            {'O', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0"},
            {'P', "0,6 0,0 3,0 4,1 4,2 3,3 0,3"},
            {'Q', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0|2.5,4.5 4,6.2"},
            {'R', "0,6 0,0 3,0 4,1 4,2 3,3 0,3|2,3 4,6"},
            {'S', "4,1 3,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 1,6 0,5"},
            {'T', "0,0 4,0|2,0 2,6"},
            {'U', "0,0 0,5 1,6 3,6 4,5 4,0"},
            {'V', "0,0 2,6 4,0"},
            {'W', "0,0 1,6 2,2.5 3,6 4,0"},
            {'X', "0,0 4,6|4,0 0,6"},
            {'Y', "0,0 2,3 4,0|2,3 2,6"},
            {'Z', "0,0 4,0 0,6 4,6"},
            {'0', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0"},
            {'1', "1,1 2,0 2,6|1,6 3,6"},
            {'2', "0,1 1,0 3,0 4,1 4,2 0,6 4,6"},
            {'3', "0,1 1,0 3,0 4,1 4,2 3,3 1.5,3|3,3 4,4 4,5 3,6 1,6 0,5"},
            {'4', "3,6 3,0 0,4 4,4"},
            {'5', "4,0 0,0 0,3 3,3 4,4 4,5 3,6 1,6 0,5"},
            {'6', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,4 3,3 0,3"},
            {'7', "0,0 4,0 1.5,6"},
            {'8', "1,0 3,0 4,1 4,2 3,3 1,3 0,2 0,1 1,0|1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3"},
            {'9', "4,3 1,3 0,2 0,1 1,0 3,0 4,1 4,5 3,6 1,6 0,5"},
            {'-', "1,3 3,3"},
            {'.', "2,6 2,6"},
            {'/', "3.5,0 0.5,6"},
            {'+', "2,1.5 2,4.5|0.5,3 3.5,3"},
        }};
        for (const auto& [name, fontSpec] : kGlyphs) {
            if (name == ch) {
                return ParseStrokes(fontSpec);
            }
        }
        return {};
    }

    static std::vector<Stroke> ParseStrokes(std::string_view fontSpec) {
        std::vector<Stroke> strokes(1);
        size_t i = 0;
        while (i < fontSpec.size()) {
            if (fontSpec[i] == '|') {
                strokes.emplace_back();
                ++i;
            } else if (fontSpec[i] == ' ') {
                ++i;
            } else {
                const size_t comma = fontSpec.find(',', i);
                size_t end = fontSpec.find_first_of(" |", comma);
                if (end == std::string_view::npos) {
                    end = fontSpec.size();
                }
                strokes.back().emplace_back(
                    std::stof(std::string(fontSpec.substr(i, comma - i))),
                    std::stof(std::string(fontSpec.substr(comma + 1, end - comma - 1))));
                i = end;
            }
        }
        return strokes;
    }

    int w_, h_;
    std::vector<Rgb> px_;
};

}  // namespace velgen
