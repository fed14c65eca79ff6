#include "image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cr_ = cairo_create(surface_);
    Fill({0, 0, 0});
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::Flush() {
    cairo_surface_flush(surface_);
}
void Canvas::MarkDirty() {
    cairo_surface_mark_dirty(surface_);
}

Rgb Canvas::Get(int x, int y) const {
    const uint8_t* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    uint32_t p;
    std::memcpy(&p, row + x * 4, 4);
    return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
}

void Canvas::Set(int x, int y, Rgb c) {
    uint8_t* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    uint32_t p = 0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
    std::memcpy(row + x * 4, &p, 4);
}

void Canvas::Fill(Rgb c) {
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cr_, c.r / 255.0, c.g / 255.0, c.b / 255.0);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::vector<uint8_t> Header(int width, int height, int bits, int paletteSize, uint32_t imageSize) {
    std::vector<uint8_t> out;
    uint32_t offset = 14 + 40 + paletteSize * 4;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageSize);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height));  // positive: rows stored bottom-up
    Put16(out, 1);
    Put16(out, uint32_t(bits));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, uint32_t(paletteSize));
    Put32(out, 0);
    return out;
}

// Median cut over the picture's colours, weighted by how often they occur.
struct Bucket {
    std::vector<std::array<int, 4>> colours;  // r, g, b, count
};

std::vector<Rgb> MedianCut(const Canvas& canvas, int wanted, const std::vector<Rgb>& reserved) {
    // Histogram at 5 bits per channel.
    std::vector<int> hist(32768, 0);
    std::vector<std::array<long, 3>> sums(32768, {0, 0, 0});
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            Rgb c = canvas.Get(x, y);
            if (std::find(reserved.begin(), reserved.end(), c) != reserved.end()) continue;
            int k = (c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3);
            hist[k]++;
            sums[k][0] += c.r;
            sums[k][1] += c.g;
            sums[k][2] += c.b;
        }
    }
    std::vector<Bucket> buckets(1);
    for (int k = 0; k < 32768; ++k) {
        if (hist[k] == 0) continue;
        buckets[0].colours.push_back(
            {int(sums[k][0] / hist[k]), int(sums[k][1] / hist[k]), int(sums[k][2] / hist[k]), hist[k]});
    }
    if (buckets[0].colours.empty()) return {};
    while (int(buckets.size()) < wanted) {
        // Split the bucket with the largest weighted range.
        int best = -1;
        double bestScore = 0;
        int bestAxis = 0;
        for (size_t i = 0; i < buckets.size(); ++i) {
            const auto& cs = buckets[i].colours;
            if (cs.size() < 2) continue;
            long total = 0;
            for (const auto& c : cs) total += c[3];
            for (int axis = 0; axis < 3; ++axis) {
                int lo = 255, hi = 0;
                for (const auto& c : cs) {
                    lo = std::min(lo, c[axis]);
                    hi = std::max(hi, c[axis]);
                }
                double weight = axis == 1 ? 1.2 : 1.0;
                double score = (hi - lo) * weight * std::sqrt(double(total));
                if (score > bestScore) {
                    bestScore = score;
                    best = int(i);
                    bestAxis = axis;
                }
            }
        }
        if (best < 0) break;
        auto& cs = buckets[best].colours;
        std::stable_sort(cs.begin(), cs.end(),
                         [bestAxis](const auto& a, const auto& b) { return a[bestAxis] < b[bestAxis]; });
        long total = 0;
        for (const auto& c : cs) total += c[3];
        long acc = 0;
        size_t cut = 1;
        for (size_t i = 0; i < cs.size() - 1; ++i) {
            acc += cs[i][3];
            cut = i + 1;
            if (acc * 2 >= total) break;
        }
        Bucket other;
        other.colours.assign(cs.begin() + long(cut), cs.end());
        cs.resize(cut);
        buckets.push_back(std::move(other));
    }
    std::vector<Rgb> palette;
    for (const auto& b : buckets) {
        double r = 0, g = 0, bl = 0, n = 0;
        for (const auto& c : b.colours) {
            r += double(c[0]) * c[3];
            g += double(c[1]) * c[3];
            bl += double(c[2]) * c[3];
            n += c[3];
        }
        palette.push_back({uint8_t(r / n + 0.5), uint8_t(g / n + 0.5), uint8_t(bl / n + 0.5)});
    }
    return palette;
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Canvas& canvas) {
    int w = canvas.width(), h = canvas.height();
    int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> out = Header(w, h, 24, 0, uint32_t(stride * h));
    for (int y = h - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < w; ++x) {
            Rgb c = canvas.Get(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        while (out.size() - start < size_t(stride)) out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> EncodeBmp8(const Canvas& canvas, const std::vector<Rgb>& reserved) {
    int w = canvas.width(), h = canvas.height();
    std::vector<Rgb> palette = reserved;
    std::vector<Rgb> rest = MedianCut(canvas, 256 - int(reserved.size()), reserved);
    palette.insert(palette.end(), rest.begin(), rest.end());
    while (palette.size() < 256) palette.push_back({0, 0, 0});

    // Nearest palette entry for each 5-bit colour cell, found once per cell.
    std::vector<int> cache(32768, -1);
    auto nearest = [&](int r, int g, int b) {
        int k = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
        if (cache[k] >= 0) return cache[k];
        int cr = (r & ~7) + 4, cg = (g & ~7) + 4, cb = (b & ~7) + 4;
        int best = 0;
        long bestD = 1L << 40;
        for (int i = 0; i < 256; ++i) {
            long dr = cr - palette[i].r, dg = cg - palette[i].g, db = cb - palette[i].b;
            long d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
            if (d < bestD) {
                bestD = d;
                best = i;
            }
        }
        cache[k] = best;
        return best;
    };

    // Floyd-Steinberg dithering; reserved colours are kept exactly and take no error.
    std::vector<uint8_t> index(size_t(w) * h);
    std::vector<std::array<float, 3>> err(size_t(w + 2) * 2, {0, 0, 0});
    for (int y = 0; y < h; ++y) {
        auto* cur = &err[size_t(y & 1) * (w + 2)];
        auto* next = &err[size_t((y + 1) & 1) * (w + 2)];
        for (int i = 0; i < w + 2; ++i) next[i] = {0, 0, 0};
        for (int x = 0; x < w; ++x) {
            Rgb c = canvas.Get(x, y);
            auto it = std::find(reserved.begin(), reserved.end(), c);
            if (it != reserved.end()) {
                index[size_t(y) * w + x] = uint8_t(it - reserved.begin());
                continue;
            }
            float v[3] = {c.r + cur[x + 1][0], c.g + cur[x + 1][1], c.b + cur[x + 1][2]};
            int q[3];
            for (int i = 0; i < 3; ++i) q[i] = std::clamp(int(v[i] + 0.5f), 0, 255);
            int p = nearest(q[0], q[1], q[2]);
            index[size_t(y) * w + x] = uint8_t(p);
            float e[3] = {v[0] - palette[p].r, v[1] - palette[p].g, v[2] - palette[p].b};
            for (int i = 0; i < 3; ++i) {
                e[i] = std::clamp(e[i], -48.0f, 48.0f);
                cur[x + 2][i] += e[i] * 7 / 16;
                next[x][i] += e[i] * 3 / 16;
                next[x + 1][i] += e[i] * 5 / 16;
                next[x + 2][i] += e[i] * 1 / 16;
            }
        }
    }

    int stride = (w + 3) & ~3;
    std::vector<uint8_t> out = Header(w, h, 8, 256, uint32_t(stride * h));
    for (const Rgb& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < stride; ++x) out.push_back(x < w ? index[size_t(y) * w + x] : 0);
    }
    return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    return WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}
