#pragma once
// One point of a chart series as plain data, so the engine can describe a chart
// without touching the charting library.

#include <QString>

#include <cstdint>

namespace wf {

struct ChartPoint {
    double x = 0;
    double y = 0;
    QString label;
    std::uint32_t rgb = 0; // 0xRRGGBB, used when hasColor
    bool hasColor = false;
};

} // namespace wf
