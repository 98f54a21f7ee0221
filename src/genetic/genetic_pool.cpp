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

void GeneticPool::work(int worker) {
    for (;;) {
        const int begin = next_.fetch_add(kChunk, std::memory_order_relaxed);
        if (begin >= n_) return;
        const int end = std::min(n_, begin + kChunk);
        for (int i = begin; i < end; ++i) fn_(ctx_, worker, i);
    }
}

void GeneticPool::run(int n, Trampoline fn, void* ctx) {
    {
        std::lock_guard lock(m_);
        fn_ = fn;
        ctx_ = ctx;
        n_ = n;
        next_.store(0, std::memory_order_relaxed);
        pending_ = static_cast<int>(threads_.size());
        ++batch_;
    }
    start_.notify_all();
    work(0);
    std::unique_lock lock(m_);
    done_.wait(lock, [this] { return pending_ == 0; });
}

void GeneticPool::loop(int worker) {
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock lock(m_);
            start_.wait(lock, [&] { return quit_ || batch_ != seen; });
            if (quit_) return;
            seen = batch_;
        }
        work(worker);
        std::lock_guard lock(m_);
        if (--pending_ == 0) done_.notify_one();
    }
}

} // namespace wf
