#pragma once

#include <cmath>
#include <cstdint>

namespace assetgen {

// Smooth, seeded value noise in [0, 1]; the same on every machine.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : m_seed(seed) {}

    double at(double x, double y) const {
        const double fx = std::floor(x), fy = std::floor(y);
        const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
        const double tx = smooth(x - fx), ty = smooth(y - fy);
        const double a = hash(ix, iy), b = hash(ix + 1, iy), c = hash(ix, iy + 1), d = hash(ix + 1, iy + 1);
        return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
    }

    // Several octaves added up, normalised back to [0, 1].
    double fractal(double x, double y, int octaves) const {
        double sum = 0, amplitude = 1, total = 0, frequency = 1;
        for (int i = 0; i < octaves; ++i) {
            sum += at(x * frequency + i * 17.3, y * frequency - i * 9.1) * amplitude;
            total += amplitude;
            amplitude *= 0.5;
            frequency *= 2;
        }
        return sum / total;
    }

    // Periodic in x and y with the given period (in noise units), for seamless tiles.
    double tiled(double x, double y, int period) const {
        const double fx = std::floor(x), fy = std::floor(y);
        const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
        const double tx = smooth(x - fx), ty = smooth(y - fy);
        const auto h = [&](int i, int j) {
            return hash(((i % period) + period) % period, ((j % period) + period) % period);
        };
        const double a = h(ix, iy), b = h(ix + 1, iy), c = h(ix, iy + 1), d = h(ix + 1, iy + 1);
        return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
    }

private:
    static double smooth(double t) { return t * t * (3 - 2 * t); }
    double hash(int x, int y) const {
        std::uint32_t h =
            m_seed ^ (static_cast<std::uint32_t>(x) * 374761393u) ^ (static_cast<std::uint32_t>(y) * 668265263u);
        h = (h ^ (h >> 13)) * 1274126177u;
        return ((h ^ (h >> 16)) & 0xffffff) / static_cast<double>(0xffffff);
    }
    std::uint32_t m_seed;
};

}  // namespace assetgen
