#include "cli/progress_bar.h"

#include "format/messages.h"
#include "format/number_format.h"

#include <algorithm>
#include <iostream>

namespace wf::cli {

namespace {
constexpr int kBarWidth = 30;
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
// Model 2 runs until its elapsed time reaches ten seconds, so its share of that is known.
constexpr double kModel2Us = 10e6;
} // namespace

bool ProgressBar::update(const Progress& p) {
    double fraction = p.fraction;
    if (fraction < 0 && p.stage == msg::stageModel2)
        fraction = std::min(1.0, p.elapsedUs / kModel2Us);
    draw(p.stage, fraction, p.elapsedUs);
    return true;
}

void ProgressBar::percent(const QString& stage, int pct) {
    draw(stage, pct / 100.0, -1);
}

void ProgressBar::draw(const QString& stage, double fraction, std::int64_t elapsedUs) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - last_ < kRedrawEvery) return;
    last_ = now;
    QString bar(kBarWidth, QLatin1Char('.'));
    QString tail;
    if (fraction >= 0) {
        const int filled = std::clamp(static_cast<int>(fraction * kBarWidth + 0.5), 0, kBarWidth);
        bar.replace(0, filled, QString(filled, QLatin1Char('#')));
        tail = QString::number(static_cast<int>(fraction * 100 + 0.5)) + QLatin1Char('%');
    } else {
        // Unknown length: a block that runs back and forth.
        const int span = kBarWidth - 3;
        const int pos = frame_ % (2 * span);
        bar.replace(pos < span ? pos : 2 * span - pos, 3, QStringLiteral("###"));
        ++frame_;
    }
    if (elapsedUs >= 0) {
        if (!tail.isEmpty()) tail += QLatin1Char(' ');
        tail += fmt::fixed(elapsedUs / 1e6, 0, 1) + QStringLiteral(" с");
    }
    const QString line =
        stage.leftJustified(12) + QStringLiteral(" [") + bar + QStringLiteral("] ") + tail;
    std::cerr << '\r' << line.leftJustified(64).toStdString() << std::flush;
    drawn_ = true;
}

void ProgressBar::finish() {
    if (!drawn_) return;
    std::cerr << '\n' << std::flush;
    drawn_ = false;
}

} // namespace wf::cli
