// wavgen: synthesises the "hall drop" alert, a short descending bell chime, as a 6000 Hz mono 16-bit
// WAV of exactly 10124 samples followed by a small LIST chunk (20318 bytes in all).
//   wavgen OUT.wav
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 6000;
constexpr int kSamples = 10124;

void put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>(v >> 8);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xffff));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

// A struck bell: a few partials, each fading at its own rate, with a 4 ms attack.
double bell(double t, double f) {
    if (t < 0) return 0;
    struct Partial {
        double ratio, gain, decay;
    };
    static constexpr Partial kPartials[] = {{1.0, 1.0, 2.2}, {2.0, 0.45, 3.5}, {3.01, 0.22, 5.0}, {0.5, 0.30, 1.6}};
    const double attack = std::min(1.0, t / 0.004);
    double s = 0;
    for (const Partial& p : kPartials) {
        if (f * p.ratio >= kRate / 2.0 - 200) continue;  // stay clear of the Nyquist limit
        s += p.gain * std::exp(-p.decay * t) * std::sin(2 * M_PI * f * p.ratio * t);
    }
    return attack * s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wavgen OUT.wav\n");
        return 2;
    }
    // G5, then E5, then C5: a falling major triad, the keep has fallen.
    std::vector<double> mix(kSamples);
    double peak = 0;
    for (int i = 0; i < kSamples; ++i) {
        const double t = static_cast<double>(i) / kRate;
        mix[i] = bell(t, 783.99) * 0.8 + bell(t - 0.16, 659.25) * 0.8 + bell(t - 0.32, 523.25);
        peak = std::max(peak, std::abs(mix[i]));
    }
    std::string data;
    for (int i = 0; i < kSamples; ++i) {
        const double tail =
            std::min(1.0, static_cast<double>(kSamples - 1 - i) / (0.06 * kRate));  // no click at the end
        put16(data,
              static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(mix[i] / peak * 0.7 * tail * 32767))));
    }
    const std::string info = std::string("INFO") + "INAM" + std::string("\x06\0\0\0", 4) + std::string("chime\0", 6);

    std::string wav = "RIFF";
    put32(wav, 0);  // filled below
    wav += "WAVEfmt ";
    put32(wav, 16);
    put16(wav, 1);
    put16(wav, 1);
    put32(wav, kRate);
    put32(wav, kRate * 2);
    put16(wav, 2);
    put16(wav, 16);
    wav += "data";
    put32(wav, static_cast<std::uint32_t>(data.size()));
    wav += data;
    wav += "LIST";
    put32(wav, static_cast<std::uint32_t>(info.size()));
    wav += info;
    const std::uint32_t riffSize = static_cast<std::uint32_t>(wav.size() - 8);
    for (int b = 0; b < 4; ++b) wav[4 + b] = static_cast<char>((riffSize >> (8 * b)) & 0xff);

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(wav.data(), static_cast<std::streamsize>(wav.size()));
    return out ? 0 : 1;
}
