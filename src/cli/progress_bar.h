#pragma once
// A one-line progress bar on stderr, redrawn in place at most ten times a second.

#include "core/fit_clock.h"

#include <QString>

#include <chrono>

namespace wf::cli {

class ProgressBar {
public:
    explicit ProgressBar(bool enabled)
        : enabled_(enabled) {}
    ~ProgressBar() { finish(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // A fit's report; never asks it to stop.
    bool update(const Progress& p);
    // A stage that counts in percent (the genetic search).
    void percent(const QString& stage, int pct);
    // Ends the line so later output starts on a fresh one.
    void finish();

private:
    void draw(const QString& stage, double fraction, std::int64_t elapsedUs);

    bool enabled_;
    bool drawn_ = false;
    int frame_ = 0;
    std::chrono::steady_clock::time_point last_{};
};

} // namespace wf::cli
