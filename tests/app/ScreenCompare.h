// Window captures against committed reference images: a capture matches
// when it has the reference's size and only a bounded share of its pixels
// differ from the reference by more than a small step in some channel.
// Every capture is also written beside the test binary for people to look
// at; with VEL_UPDATE_APP_REFERENCES set it becomes the new reference.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/gfx/Codecs.h"

namespace appshots {

struct TPixels {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Px;  // 0xRRGGBB

    uint32_t At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= Width || y >= Height) return 0xFFFFFFFFu;
        return Px[size_t(y) * size_t(Width) + size_t(x)];
    }
    // The part (x, y, w, h) of the picture, clipped to it.
    TPixels Crop(int x, int y, int w, int h) const
    {
        TPixels out;
        out.Width = w;
        out.Height = h;
        out.Px.resize(size_t(w) * size_t(h), 0);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) out.Px[size_t(j) * size_t(w) + size_t(i)] = At(x + i, y + j) & 0xFFFFFF;
        return out;
    }
    // How many pixels inside (x, y, w, h) pass the test.
    template <class F>
    int CountIf(F test, int x, int y, int w, int h) const
    {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) n += At(i, j) != 0xFFFFFFFFu && test(At(i, j));
        return n;
    }
    // How many pixels inside (x, y, w, h) have exactly this colour.
    int Count(uint32_t rgb, int x, int y, int w, int h) const
    {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) n += At(i, j) == rgb;
        return n;
    }
};

// Text pixels of a colour drawn with smoothed edges: the cores of pure blue
// (0000FF) strokes, and of navy (000080) strokes, which a blue text never has.
inline bool BlueCore(uint32_t p) { return (p >> 16 & 0xFF) < 60 && (p >> 8 & 0xFF) < 60 && (p & 0xFF) >= 200; }
inline bool NavyCore(uint32_t p) { return (p >> 16 & 0xFF) < 30 && (p >> 8 & 0xFF) < 30 && (p & 0xFF) >= 100 && (p & 0xFF) <= 160; }

inline uint32_t Rgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

inline bool LoadPng(const std::string& path, TPixels& out)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) return false;
    const TImageData img = DecodePng(bytes.data(), bytes.size());
    if (img.Empty()) return false;
    out.Width = img.Width;
    out.Height = img.Height;
    out.Px.resize(img.Pixels.size());
    for (size_t i = 0; i < img.Pixels.size(); ++i) out.Px[i] = img.Pixels[i] & 0xFFFFFF;
    return true;
}

inline bool SavePng(const std::string& path, const TPixels& p)
{
    TImageData img(p.Width, p.Height);
    for (size_t i = 0; i < p.Px.size(); ++i) img.Pixels[i] = 0xFF000000u | p.Px[i];
    const TBytes png = EncodePng(img);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    return bool(out);
}

// The share of pixels (0..1) whose colour differs by more than step in any
// channel; 1 when the sizes differ.
inline double DifferingShare(const TPixels& a, const TPixels& b, int step)
{
    if (a.Width != b.Width || a.Height != b.Height || a.Px.empty()) return 1.0;
    size_t n = 0;
    for (size_t i = 0; i < a.Px.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8) {
            const int d = int((a.Px[i] >> shift) & 0xFF) - int((b.Px[i] >> shift) & 0xFF);
            if (d > step || d < -step) {
                ++n;
                break;
            }
        }
    return double(n) / double(a.Px.size());
}

struct TComparison {
    bool Found = false;   // the reference could be read
    double Share = 1.0;   // DifferingShare against it
    std::string Fresh;    // where the capture was written
    std::string Reference;
};

// Writes the capture as <binary dir>/tests/app_<name>.png and compares it
// with tests/data/app/<name>.png (which it replaces first when
// VEL_UPDATE_APP_REFERENCES is set).
inline TComparison CompareWithReference(const std::string& name, const TPixels& capture, int step)
{
    TComparison c;
    c.Fresh = std::string(VEL_BINARY_DIR) + "/tests/app_" + name + ".png";
    c.Reference = std::string(VEL_TEST_DATA_DIR) + "/app/" + name + ".png";
    SavePng(c.Fresh, capture);
    if (const char* u = std::getenv("VEL_UPDATE_APP_REFERENCES"); u && *u) SavePng(c.Reference, capture);
    TPixels ref;
    c.Found = LoadPng(c.Reference, ref);
    if (c.Found) c.Share = DifferingShare(capture, ref, step);
    return c;
}

}  // namespace appshots
