#pragma once
// Deterministic random numbers: std::mt19937 with our own distributions, so
// the same seed gives the same world whatever the standard library. Draws tied
// to one race or record use a keyed splitmix64 stream instead: seeding a
// Mersenne Twister per record cost more than the rest of the generator.
#include <cstdint>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

namespace veltrix::sample {

inline std::uint32_t MixSeed(std::uint32_t a, std::uint64_t b) {
    std::uint64_t z = (static_cast<std::uint64_t>(a) << 32) ^ b;
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>(z ^ (z >> 31));
}

inline std::uint64_t HashText(std::string_view s) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    return h;
}

class Rng {
public:
    explicit Rng(std::uint32_t seed) : engine_(std::in_place, seed) {}
    // A cheap stream for the draws of one keyed item.
    static Rng keyed(std::uint64_t key) {
        Rng r;
        r.state_ = key;
        return r;
    }
    std::uint32_t next() {
        if (engine_) return (*engine_)();
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
    }
    // Uniform in [lo, hi].
    int range(int lo, int hi) {
        const std::uint64_t span = static_cast<std::uint64_t>(hi - lo) + 1;
        return lo + static_cast<int>((static_cast<std::uint64_t>(next()) * span) >> 32);
    }
    double unit() { return next() / 4294967296.0; }
    bool chance(double p) { return unit() < p; }
    template <class T>
    const T& pick(const std::vector<T>& v) {
        return v[static_cast<std::size_t>(range(0, static_cast<int>(v.size()) - 1))];
    }
    template <class T>
    void shuffle(std::vector<T>& v) {
        for (std::size_t i = v.size(); i > 1; --i) {
            std::size_t j = static_cast<std::size_t>(range(0, static_cast<int>(i) - 1));
            std::swap(v[i - 1], v[j]);
        }
    }

private:
    Rng() = default;
    std::optional<std::mt19937> engine_;
    std::uint64_t state_ = 0;
};

}  // namespace veltrix::sample
