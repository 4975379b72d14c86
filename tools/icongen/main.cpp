// icongen OUT.ico          draws the program's icon and writes it
// icongen --verify IN.ico  exit 1 unless IN.ico is what icongen draws
//
// The icon is four poker tables laid out two by two on a dark tile, the
// lower right one framed in amber: the user's turn among the tables. It is
// drawn from geometry (no source image), 8 x 8 samples per pixel, at every
// size the shell asks for, so the committed src/mainwindow/app/kova.ico can
// be regenerated bit for bit: the drawing uses only + - * / on doubles,
// which round the same on every IEEE machine.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgba {
    double r, g, b, a;  // premultiplied, 0..1
};

struct Colour {
    std::uint8_t r, g, b;
};

constexpr Colour kTile{0x1F, 0x29, 0x33};
constexpr Colour kRail{0x5A, 0x3A, 0x22};
constexpr Colour kFelt{0x2E, 0x9E, 0x5B};
constexpr Colour kTurn{0xF2, 0xB7, 0x05};

// A shape is a predicate on a point of the unit square; a pixel's coverage
// is the fraction of its samples inside.
struct Shape {
    virtual ~Shape() = default;
    virtual bool Inside(double x, double y) const = 0;
};

struct RoundedSquare : Shape {
    double lo, hi, radius;
    RoundedSquare(double l, double h, double r) : lo(l), hi(h), radius(r) {}
    bool Inside(double x, double y) const override {
        if (x < lo || x > hi || y < lo || y > hi) return false;
        const double cx = std::clamp(x, lo + radius, hi - radius);
        const double cy = std::clamp(y, lo + radius, hi - radius);
        const double dx = x - cx, dy = y - cy;
        return dx * dx + dy * dy <= radius * radius;
    }
};

// A table seen from above: a stadium (a rectangle with half-disc ends).
struct Stadium : Shape {
    double cx, cy, halfLength, radius;
    Stadium(double x, double y, double l, double r) : cx(x), cy(y), halfLength(l), radius(r) {}
    bool Inside(double x, double y) const override {
        const double dx = std::max(0.0, (x > cx ? x - cx : cx - x) - halfLength);
        const double dy = y - cy;
        return dx * dx + dy * dy <= radius * radius;
    }
};

struct Canvas {
    int size;
    std::vector<Rgba> px;
    explicit Canvas(int s) : size(s), px(static_cast<std::size_t>(s) * s, Rgba{0, 0, 0, 0}) {}

    // Paints the shape over what is there ("over" with its coverage).
    void Fill(const Shape& shape, Colour c) {
        constexpr int kSamples = 8;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx)
                        if (shape.Inside((x + (sx + 0.5) / kSamples) / size, (y + (sy + 0.5) / kSamples) / size)) ++hits;
                if (!hits) continue;
                const double a = static_cast<double>(hits) / (kSamples * kSamples);
                Rgba& p = px[static_cast<std::size_t>(y) * size + x];
                p.r = c.r / 255.0 * a + p.r * (1 - a);
                p.g = c.g / 255.0 * a + p.g * (1 - a);
                p.b = c.b / 255.0 * a + p.b * (1 - a);
                p.a = a + p.a * (1 - a);
            }
        }
    }
};

std::uint8_t ToByte(double v) { return static_cast<std::uint8_t>(std::clamp(v * 255.0 + 0.5, 0.0, 255.0)); }

Canvas Draw(int size) {
    Canvas c(size);
    c.Fill(RoundedSquare(0.02, 0.98, 0.2), kTile);
    const double centres[4][2] = {{0.27, 0.29}, {0.73, 0.29}, {0.27, 0.71}, {0.73, 0.71}};
    for (int i = 0; i < 4; ++i) {
        const double x = centres[i][0], y = centres[i][1];
        const bool turn = i == 3;
        c.Fill(Stadium(x, y, 0.065, 0.14), turn ? kTurn : kRail);
        c.Fill(Stadium(x, y, 0.065, turn ? 0.09 : 0.105), kFelt);
    }
    return c;
}

void Put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// One icon image: a 32-bit bottom-up DIB with straight alpha, then the
// 1-bit AND mask (set where the pixel is fully transparent).
Bytes IconImage(const Canvas& c) {
    const int n = c.size;
    const int maskStride = ((n + 31) / 32) * 4;
    Bytes b;
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(n));
    Put32(b, static_cast<std::uint32_t>(2 * n));
    Put16(b, 1);
    Put16(b, 32);
    Put32(b, 0);
    Put32(b, static_cast<std::uint32_t>(n * n * 4 + maskStride * n));
    for (int i = 0; i < 4; ++i) Put32(b, 0);
    for (int y = n - 1; y >= 0; --y) {
        for (int x = 0; x < n; ++x) {
            const Rgba& p = c.px[static_cast<std::size_t>(y) * n + x];
            const std::uint8_t a = ToByte(p.a);
            const double k = a ? 1.0 / p.a : 0.0;
            b.push_back(a ? ToByte(p.b * k) : 0);
            b.push_back(a ? ToByte(p.g * k) : 0);
            b.push_back(a ? ToByte(p.r * k) : 0);
            b.push_back(a);
        }
    }
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < n; ++x)
            if (ToByte(c.px[static_cast<std::size_t>(y) * n + x].a) == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

Bytes IconFile() {
    // The notification area uses 16 (20, 24 on scaled screens), windows 32
    // and up; Explorer's views the larger ones.
    const int sizes[] = {16, 20, 24, 32, 40, 48, 64};
    std::vector<Bytes> images;
    for (int s : sizes) images.push_back(IconImage(Draw(s)));
    Bytes f;
    Put16(f, 0);
    Put16(f, 1);
    Put16(f, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        f.push_back(static_cast<std::uint8_t>(sizes[i]));
        f.push_back(static_cast<std::uint8_t>(sizes[i]));
        f.push_back(0);  // no palette
        f.push_back(0);
        Put16(f, 1);
        Put16(f, 32);
        Put32(f, static_cast<std::uint32_t>(images[i].size()));
        Put32(f, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& img : images) f.insert(f.end(), img.begin(), img.end());
    return f;
}

int Usage() {
    std::fprintf(stderr, "usage: icongen OUT.ico | icongen --verify IN.ico\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const Bytes icon = IconFile();
    if (argc == 3 && std::string(argv[1]) == "--verify") {
        std::ifstream in(argv[2], std::ios::binary);
        const Bytes committed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (committed != icon) {
            std::fprintf(stderr, "%s differs from what icongen draws: regenerate it with icongen\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if (argc != 2) return Usage();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(icon.data()), static_cast<std::streamsize>(icon.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
