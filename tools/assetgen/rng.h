// The generator's own random numbers: a fixed algorithm (SplitMix64) so the
// pictures come out byte for byte the same on every machine and library.
#pragma once
#include <cstdint>

namespace assetgen {

inline uint64_t mix64(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A stateless hash of a seed and two lattice coordinates.
inline uint32_t hash2(uint32_t seed, int32_t x, int32_t y) {
    uint64_t k = (static_cast<uint64_t>(seed) << 32) ^ (static_cast<uint64_t>(static_cast<uint32_t>(x)) * 0x9E3779B97F4A7C15ull) ^
                 (static_cast<uint64_t>(static_cast<uint32_t>(y)) * 0xC2B2AE3D27D4EB4Full);
    return static_cast<uint32_t>(mix64(k) >> 32);
}

class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        state_ += 0x9E3779B97F4A7C15ull;
        return mix64(state_);
    }
    // Uniform in [0, n) for n > 0; the tiny modulo bias does not matter for art.
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }
    // Uniform in [lo, hi], both inclusive.
    int range(int lo, int hi) { return hi <= lo ? lo : lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }

private:
    uint64_t state_;
};

}  // namespace assetgen
