// Draws canprog's Windows icon (the board, its controller and its cable, as in the desktop
// icon) at the sizes Windows asks for and writes them as one .ico file of 32-bit images.
// Usage: make_icon OUTPUT.ico      (built and run by scripts/make-windows-icon.sh)
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

namespace {

struct Colour {
    double r, g, b;
};
Colour hex(std::uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

// A shape is a test whether a point of the 128 x 128 drawing lies inside it.
using Shape = std::function<bool(double x, double y)>;

Shape roundedRect(double x, double y, double w, double h, double r) {
    return [=](double px, double py) {
        if (px < x || px > x + w || py < y || py > y + h) return false;
        const double cx = std::clamp(px, x + r, x + w - r);
        const double cy = std::clamp(py, y + r, y + h - r);
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
    };
}
Shape circle(double cx, double cy, double r) {
    return [=](double px, double py) {
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
    };
}
double distanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    const double ex = ax + t * dx - px, ey = ay + t * dy - py;
    return std::sqrt(ex * ex + ey * ey);
}
// A round-capped line through the points, `width` wide.
Shape polyline(std::vector<std::array<double, 2>> points, double width) {
    return [points, width](double px, double py) {
        for (std::size_t i = 1; i < points.size(); ++i) {
            if (distanceToSegment(px, py, points[i - 1][0], points[i - 1][1], points[i][0],
                                  points[i][1]) <= width / 2)
                return true;
        }
        return false;
    };
}
std::vector<std::array<double, 2>> cubic(std::array<double, 8> c, int steps) {
    std::vector<std::array<double, 2>> points;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps, u = 1 - t;
        points.push_back(
            {u * u * u * c[0] + 3 * u * u * t * c[2] + 3 * u * t * t * c[4] + t * t * t * c[6],
             u * u * u * c[1] + 3 * u * u * t * c[3] + 3 * u * t * t * c[5] + t * t * t * c[7]});
    }
    return points;
}

struct Layer {
    Shape shape;
    Colour colour;
};

std::vector<Layer> drawing() {
    std::vector<Layer> layers = {
        {roundedRect(10, 22, 108, 84, 10), hex(0x1f6f50)},
        {roundedRect(14, 26, 100, 76, 7), hex(0x2c8a64)},
    };
    for (double x : {30, 40, 50, 60}) {
        layers.push_back({roundedRect(x, 34, 4, 8, 0), hex(0xd8b25a)});
        layers.push_back({roundedRect(x, 86, 4, 8, 0), hex(0xd8b25a)});
    }
    layers.push_back({roundedRect(24, 42, 48, 44, 3), hex(0x20262b)});
    layers.push_back({circle(31, 49, 2.5), hex(0x5b6770)});
    layers.push_back({polyline({{36, 72}, {44, 62}, {51, 69}, {63, 54}}, 4), hex(0x7fe0b0)});
    layers.push_back({roundedRect(84, 40, 22, 48, 4), hex(0xe6e9ec)});
    for (double y : {46, 56, 66, 76})
        layers.push_back({roundedRect(89, y, 12, 5, 1), hex(0x20262b)});
    layers.push_back({polyline(cubic({106, 64, 118, 64, 120, 80, 124, 96}, 24), 5), hex(0xe07b2c)});
    return layers;
}

// One image, size x size, as BGRA rows from the bottom up; each pixel averages 8 x 8 samples.
std::vector<std::uint8_t> render(int size, const std::vector<Layer>& layers) {
    constexpr int kSamples = 8;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size * size * 4));
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = (column + (sx + 0.5) / kSamples) * 128.0 / size;
                    const double y = (row + (sy + 0.5) / kSamples) * 128.0 / size;
                    for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
                        if (it->shape(x, y)) {
                            r += it->colour.r, g += it->colour.g, b += it->colour.b, a += 1;
                            break;
                        }
                    }
                }
            }
            const double n = kSamples * kSamples;
            const auto at = static_cast<std::size_t>(((size - 1 - row) * size + column) * 4);
            const auto byte = [](double v) {
                return static_cast<std::uint8_t>(std::lround(v * 255));
            };
            // Colour over transparency: straight (not premultiplied) alpha.
            pixels[at + 0] = a ? byte(b / a) : 0;
            pixels[at + 1] = a ? byte(g / a) : 0;
            pixels[at + 2] = a ? byte(r / a) : 0;
            pixels[at + 3] = byte(a / n);
        }
    }
    return pixels;
}

void put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void put32(std::vector<std::uint8_t>& out, unsigned value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// An icon image: a BITMAPINFOHEADER of twice the height, the colour rows, then the mask.
std::vector<std::uint8_t> iconImage(int size, const std::vector<Layer>& layers) {
    std::vector<std::uint8_t> image;
    const int maskRowBytes = ((size + 31) / 32) * 4;
    put32(image, 40);
    put32(image, static_cast<unsigned>(size));
    put32(image, static_cast<unsigned>(size * 2));
    put16(image, 1);
    put16(image, 32);
    put32(image, 0);
    put32(image, static_cast<unsigned>(size * size * 4 + maskRowBytes * size));
    for (int i = 0; i < 4; ++i) put32(image, 0);
    const auto pixels = render(size, layers);
    image.insert(image.end(), pixels.begin(), pixels.end());
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(maskRowBytes * size), 0);
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column)
            if (pixels[static_cast<std::size_t>((row * size + column) * 4 + 3)] == 0)
                mask[static_cast<std::size_t>(row * maskRowBytes + column / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (column % 8));
    image.insert(image.end(), mask.begin(), mask.end());
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argv[0]);
        return 1;
    }
    const std::array sizes = {16, 20, 24, 32, 40, 48, 64, 256};
    const auto layers = drawing();
    std::vector<std::vector<std::uint8_t>> images;
    for (int size : sizes) images.push_back(iconImage(size, layers));

    std::vector<std::uint8_t> file;
    put16(file, 0);
    put16(file, 1);  // an icon
    put16(file, static_cast<unsigned>(sizes.size()));
    unsigned offset = static_cast<unsigned>(6 + 16 * sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        file.push_back(static_cast<std::uint8_t>(sizes[i] % 256));  // 256 is written as 0
        file.push_back(static_cast<std::uint8_t>(sizes[i] % 256));
        file.push_back(0);
        file.push_back(0);
        put16(file, 1);
        put16(file, 32);
        put32(file, static_cast<unsigned>(images[i].size()));
        put32(file, offset);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    return out.good() ? 0 : 2;
}
