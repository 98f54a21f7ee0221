#include "genetic/genetic_pool.h"

#include <algorithm>

namespace wf {

GeneticPool::GeneticPool(int threads) {
    if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
    size_ = std::clamp(threads, 1, 64);
    for (int w = 1; w < size_; ++w) threads_.emplace_back([this, w] { loop(w); });
}

GeneticPool::~GeneticPool() {
    {
        std::lock_guard lock(m_);
        quit_ = true;
    }
    start_.notify_all();
    for (auto& t : threads_) t.join();
}

void GeneticPool::work(const Batch& b, int worker) {
    for (;;) {
        std::uint64_t t = ticket_.load(std::memory_order_acquire);
        int begin = 0;
        for (;;) {
            if (static_cast<std::uint32_t>(t >> 32) != b.id) return;
            begin = static_cast<int>(t & 0xffffffffu);
            if (begin >= b.n) return;
            if (ticket_.compare_exchange_weak(t, t + kChunk, std::memory_order_acq_rel)) break;
        }
        const int end = std::min(b.n, begin + kChunk);
        for (int i = begin; i < end; ++i) b.fn(b.ctx, worker, i);
        if (finished_.fetch_add(end - begin, std::memory_order_acq_rel) + (end - begin) == b.n) {
            std::lock_guard lock(m_);
            done_.notify_one();
        }
    }
}

void GeneticPool::run(int n, Trampoline fn, void* ctx) {
    Batch b;
    {
        std::lock_guard lock(m_);
        b.id = batch_.id + 1;
        b.fn = fn;
        b.ctx = ctx;
        b.n = n;
        batch_ = b;
        finished_.store(0, std::memory_order_relaxed);
        ticket_.store(static_cast<std::uint64_t>(b.id) << 32, std::memory_order_release);
    }
    start_.notify_all();
    work(b, 0);
    std::unique_lock lock(m_);
    done_.wait(lock, [&] { return finished_.load(std::memory_order_acquire) == n; });
}

void GeneticPool::loop(int worker) {
    std::uint32_t seen = 0;
    for (;;) {
        Batch b;
        {
            std::unique_lock lock(m_);
            start_.wait(lock, [&] { return quit_ || batch_.id != seen; });
            if (quit_) return;
            b = batch_;
            seen = b.id;
        }
        work(b, worker);
    }
}

} // namespace wf
