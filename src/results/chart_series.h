#pragma once
// The charts' series by what they show. Rates are per 100 h and product, totals per product;
// "Censored" curves are the model thinned by warranty exit, the others the model without it.
// Spiral, Newton, Smirnov and Mle are models 1.1, 1.2, 2 and 3; Genetic the genetic search,
// External the external optimizer.

#include <QString>

namespace wf {

enum class ChartSeries {
    // Chart1: the failure flow.
    ExitShareOnRates, // share of products out of warranty, %
    ObservedPercent,  // observed failures so far, % of the fleet, each point labelled
    SpiralRate,
    SpiralRateCensored,
    NewtonRate,
    NewtonRateCensored,
    SmirnovRateCensored,
    GeneticRate,
    GeneticRateCensored,
    ExternalRateCensored,
    MleRateCensored,
    SpareBarsOnRates, // never drawn
    // Chart2: the accumulated flow.
    ExitShareOnTotals, // share of products out of warranty, %
    ObservedTotal,     // observed failures so far
    SpiralTotal,
    SpiralTotalCensored,
    NewtonTotal,
    NewtonTotalCensored,
    SmirnovTotalCensored,
    GeneticTotal,
    GeneticTotalCensored,
    MleTotalCensored,
    SpareBarsOnTotals, // never drawn
    MleTotal,          // model 3 without the exits, K F(t)
    MleBand,           // its pointwise likelihood-ratio bounds
    // Chart3: the ln-ln accumulation beside the per-cause bars.
    LnLnFailures,    // ln N against ln t of each failure
    LnLnLine,        // its least-squares line
    SpareLineOnLnLn, // never drawn
    // The accumulation chart of the main window and the log-scale view.
    AccumulationPoints,
    AccumulationLine,
    AccumulationMle,     // model 3's expected failures without the exits, Park K F(t)
    AccumulationMleBand, // their pointwise bounds
    // The page by cause: a cause's expected failures per product seen, and its observed ones.
    CauseFlow,
    CauseObserved,
    // A per-cause bar series (SeriesData::causeIndex says which cause). Stays last.
    Cause,
};

// Object name of the drawn series, kept from the window's first layout; empty for a
// per-cause series.
QString seriesObjectName(ChartSeries id);

} // namespace wf
