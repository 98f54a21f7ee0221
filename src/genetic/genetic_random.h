#pragma once
// The random source of the genetic search: xoshiro256** with uniform draws in [0, 1).
// Every re-seed either derives from a fixed seed and the number of re-seeds so far (a run
// repeats exactly), or mixes the clock with a process-wide counter and a start-up entropy
// value, so two re-seeds within one clock tick still differ.

#include <cstdint>
#include <optional>

namespace wf {

class GeneticRandom {
public:
    explicit GeneticRandom(std::optional<std::uint64_t> seed = std::nullopt)
        : seed_(seed) {
        reseed();
    }

    // A re-seeding point.
    void reseed();

    // Uniform in [0, 1), 53 random bits.
    double next() { return static_cast<double>(nextBits() >> 11) * 0x1.0p-53; }

    std::uint64_t nextBits() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }

    std::uint64_t reseeds() const { return count_; }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::optional<std::uint64_t> seed_;
    std::uint64_t count_ = 0;
    std::uint64_t s_[4]{};
};

} // namespace wf
