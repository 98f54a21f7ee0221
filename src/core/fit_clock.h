#pragma once
// The clock every time rule of a fit reads. Production uses the wall clock; tests and
// `--eval-cost-us` use a virtual clock that advances a fixed amount per objective
// evaluation, so a fit is reproducible run to run and machine to machine.

#include <chrono>
#include <cstdint>
#include <functional>

#include <QString>

namespace wf {

class FitClock {
public:
    virtual ~FitClock() = default;
    // Microseconds since an arbitrary fixed origin.
    virtual std::int64_t nowUs() = 0;
    // Called once per objective evaluation.
    virtual void tick() {}
};

class WallClock final : public FitClock {
public:
    std::int64_t nowUs() override {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

class VirtualClock final : public FitClock {
public:
    explicit VirtualClock(std::int64_t costUs)
        : costUs_(costUs) {}
    std::int64_t nowUs() override { return now_; }
    void tick() override { now_ += costUs_; }
    void advance(std::int64_t us) { now_ += us; }

private:
    std::int64_t costUs_;
    std::int64_t now_ = 0;
};

// An elapsed time split as a clock shows it: hours, minutes, the seconds part (0..59)
// and milliseconds.
struct ElapsedParts {
    std::uint16_t Chas = 0;
    std::uint16_t Minut = 0;
    std::uint16_t Sek = 0;
    std::uint16_t MSek = 0;
};

inline ElapsedParts splitElapsed(std::int64_t us) {
    if (us < 0) us = 0;
    const std::int64_t ms = us / 1000;
    ElapsedParts p;
    p.MSek = static_cast<std::uint16_t>(ms % 1000);
    p.Sek = static_cast<std::uint16_t>((ms / 1000) % 60);
    p.Minut = static_cast<std::uint16_t>((ms / 60000) % 60);
    p.Chas = static_cast<std::uint16_t>((ms / 3600000) % 24);
    return p;
}

// The long time format of the log lines: 0:00:11.
inline QString longTimeText(const ElapsedParts& p) {
    return QStringLiteral("%1:%2:%3")
        .arg(p.Chas)
        .arg(p.Minut, 2, 10, QLatin1Char('0'))
        .arg(p.Sek, 2, 10, QLatin1Char('0'));
}

// What a long operation reports; the callback returns false to ask it to stop.
struct Progress {
    QString stage;        // what runs now, e.g. the model's name
    double fraction = -1; // 0..1 where known, else negative
    std::int64_t elapsedUs = 0;
};
using ProgressFn = std::function<bool(const Progress&)>;

} // namespace wf
