#include "genetic/genetic_random.h"

#include <atomic>
#include <chrono>
#include <random>

namespace wf {
namespace {

std::uint64_t splitmix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

std::uint64_t startupEntropy() {
    static const std::uint64_t e = [] {
        std::random_device rd;
        return (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
    }();
    return e;
}

std::atomic<std::uint64_t> g_reseeds{0};

} // namespace

void GeneticRandom::reseed() {
    std::uint64_t x;
    if (seed_) {
        x = *seed_;
        std::uint64_t c = count_;
        x ^= splitmix(c);
    } else {
        const auto ns =
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        std::uint64_t c = g_reseeds.fetch_add(1, std::memory_order_relaxed);
        x = ns ^ splitmix(c) ^ startupEntropy();
    }
    ++count_;
    for (auto& w : s_) w = splitmix(x);
    if ((s_[0] | s_[1] | s_[2] | s_[3]) == 0) s_[0] = 1; // the all-zero state never leaves 0
}

} // namespace wf
