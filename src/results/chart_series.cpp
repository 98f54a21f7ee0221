#include "results/chart_series.h"

#include <array>
#include <cstddef>

namespace wf {

namespace {

struct Named {
    ChartSeries id;
    const char* objectName;
};

using C = ChartSeries;
constexpr std::size_t kCount = static_cast<std::size_t>(C::Cause) + 1;

// In the order of the enumerators, one entry each.
constexpr std::array<Named, kCount> kNames = {{
    {C::ExitShareOnRates, "Series1"},
    {C::ObservedPercent, "Series17"},
    {C::SpiralRate, "Series2"},
    {C::SpiralRateCensored, "Series3"},
    {C::NewtonRate, "Series20"},
    {C::NewtonRateCensored, "Series21"},
    {C::SmirnovRateCensored, "Series4"},
    {C::GeneticRate, "Series5"},
    {C::GeneticRateCensored, "Series6"},
    {C::ExternalRateCensored, "Series24"},
    {C::MleRateCensored, "Series25"},
    {C::SpareBarsOnRates, "Series14"},
    {C::ExitShareOnTotals, "Series7"},
    {C::ObservedTotal, "Series15"},
    {C::SpiralTotal, "Series8"},
    {C::SpiralTotalCensored, "Series9"},
    {C::NewtonTotal, "Series22"},
    {C::NewtonTotalCensored, "Series23"},
    {C::SmirnovTotalCensored, "Series10"},
    {C::GeneticTotal, "Series11"},
    {C::GeneticTotalCensored, "Series12"},
    {C::MleTotalCensored, "Series26"},
    {C::SpareBarsOnTotals, "Series16"},
    {C::MleTotal, "Series27"},
    {C::MleBand, "Series28"},
    {C::LnLnFailures, "Series18"},
    {C::LnLnLine, "Series19"},
    {C::SpareLineOnLnLn, "Series13"},
    {C::AccumulationPoints, "Series1"},
    {C::AccumulationLine, "Series2"},
    {C::AccumulationMle, "Series3"},
    {C::AccumulationMleBand, "Series4"},
    {C::CauseFlow, "CauseFlow"},
    {C::CauseObserved, "CauseObserved"},
    {C::Cause, ""},
}};

constexpr bool inEnumeratorOrder() {
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (static_cast<std::size_t>(kNames[i].id) != i) return false;
    return true;
}
static_assert(inEnumeratorOrder(), "kNames lists every enumerator once, in order");

} // namespace

QString seriesObjectName(ChartSeries id) {
    return QString::fromLatin1(kNames[static_cast<std::size_t>(id)].objectName);
}

} // namespace wf
