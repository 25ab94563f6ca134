// Watches an area of the X screen as fast as it can be read and saves the
// whole screen the moment the area's mean brightness comes within a range,
// having first been outside it: a frame of something that lasts a few
// milliseconds, such as a cross-fade. For the screenshot scripts.
//
//   screenwatch X Y W H LOW HIGH OUT.ppm [SECONDS]
//
// Brightness runs from 0 (black) to 1 (white). Exits 0 once OUT is written,
// 1 when SECONDS (30 unless given) pass first, 2 on bad arguments.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace {

double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

int Shift(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

struct Rgb {
    unsigned r, g, b;
};

Rgb PixelAt(XImage* image, int x, int y) {
    const unsigned long p = XGetPixel(image, x, y);
    return {static_cast<unsigned>((p & image->red_mask) >> Shift(image->red_mask)),
            static_cast<unsigned>((p & image->green_mask) >> Shift(image->green_mask)),
            static_cast<unsigned>((p & image->blue_mask) >> Shift(image->blue_mask))};
}

double MeanBrightness(XImage* image) {
    double sum = 0;
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const Rgb c = PixelAt(image, x, y);
            sum += (c.r + c.g + c.b) / (3.0 * 255.0);
        }
    }
    return sum / (static_cast<double>(image->width) * image->height);
}

bool WritePpm(XImage* image, const char* path) {
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        return false;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", image->width, image->height);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const Rgb c = PixelAt(image, x, y);
            const unsigned char bytes[3] = {static_cast<unsigned char>(c.r),
                                            static_cast<unsigned char>(c.g),
                                            static_cast<unsigned char>(c.b)};
            std::fwrite(bytes, 1, 3, out);
        }
    }
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 8) {
        std::fprintf(stderr, "usage: screenwatch X Y W H LOW HIGH OUT.ppm [SECONDS]\n");
        return 2;
    }
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    const int width = std::atoi(argv[3]);
    const int height = std::atoi(argv[4]);
    const double low = std::atof(argv[5]);
    const double high = std::atof(argv[6]);
    const char* out = argv[7];
    const double seconds = argc > 8 ? std::atof(argv[8]) : 30;
    if (width <= 0 || height <= 0) {
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "screenwatch: no display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    const double start = Now();
    bool armed = false;
    int status = 1;
    while (Now() - start < seconds) {
        XImage* area = XGetImage(display, root, x, y, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), AllPlanes, ZPixmap);
        if (area == nullptr) {
            break;
        }
        const double mean = MeanBrightness(area);
        XDestroyImage(area);
        const bool inside = mean > low && mean < high;
        if (!inside) {
            armed = true;
        } else if (armed) {
            XWindowAttributes attributes;
            XGetWindowAttributes(display, root, &attributes);
            XImage* screen =
                XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                          static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
            status = screen != nullptr && WritePpm(screen, out) ? 0 : 1;
            if (screen != nullptr) {
                XDestroyImage(screen);
            }
            std::printf("%.3f\n", mean);
            break;
        }
    }
    XCloseDisplay(display);
    return status;
}
