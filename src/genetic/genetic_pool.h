#pragma once
// A small fixed pool of threads for the genetic search's evaluation batches. The calling
// thread takes part in every batch; which thread gets which item is left open, so the work
// item must not depend on it beyond picking its own scratch space.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

namespace wf {

class GeneticPool {
public:
    // threads: total threads including the caller; 0 = the machine's cores.
    explicit GeneticPool(int threads);
    ~GeneticPool();
    GeneticPool(const GeneticPool&) = delete;
    GeneticPool& operator=(const GeneticPool&) = delete;

    int size() const { return size_; }

    // Calls f(worker, i) for every i in [0, n), worker in [0, size()); returns when all are
    // done. f must not throw.
    template <class F> void forEach(int n, F&& f) {
        if (n <= 0) return;
        if (size_ <= 1 || n < kInlineBelow) {
            for (int i = 0; i < n; ++i) f(0, i);
            return;
        }
        using Fn = std::remove_reference_t<F>;
        run(
            n, [](void* ctx, int w, int i) { (*static_cast<Fn*>(ctx))(w, i); },
            const_cast<void*>(static_cast<const void*>(&f)));
    }

private:
    static constexpr int kInlineBelow = 48; // smaller batches cost more to hand out than to run
    static constexpr int kChunk = 16;
    using Trampoline = void (*)(void*, int, int);
    struct Batch {
        std::uint32_t id = 0;
        Trampoline fn = nullptr;
        void* ctx = nullptr;
        int n = 0;
    };

    void run(int n, Trampoline fn, void* ctx);
    // Claims and runs chunks of batch b until none is left or a newer batch has begun; a
    // thread that wakes late therefore never touches a batch that has already ended.
    void work(const Batch& b, int worker);
    void loop(int worker);

    int size_ = 1;
    std::vector<std::thread> threads_;
    std::mutex m_;
    std::condition_variable start_;
    std::condition_variable done_;
    Batch batch_;
    bool quit_ = false;
    // High half: batch id; low half: next index to hand out.
    std::atomic<std::uint64_t> ticket_{0};
    std::atomic<int> finished_{0};
};

} // namespace wf
