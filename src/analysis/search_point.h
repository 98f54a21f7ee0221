#pragma once
// The point the searches move: Weibull scale B, shape A and repeat coefficient K, then the
// searched warranty mean and/or SD. The fits' vectors and the genetic Gen_Par share it.

#include "analysis/state.h"

namespace wf {

// Places in a search point.
enum SearchCoord : int { kScaleB = 0, kShapeA = 1, kRepeatK = 2, kFirstWarranty = 3 };

inline WeibullParams weibullAt(const double* x) {
    return {x[kShapeA], x[kScaleB], x[kRepeatK]};
}

struct WarrantyValues {
    double mean = 0; // h
    double sd = 0;   // h
};

// The warranty mean and SD the point stands for: the searched ones from it (the mean
// first), the others from the state.
WarrantyValues warrantyAt(const AnalysisState& s, const double* x);

// Writes the searched warranty values of the point into the state.
void storeSearchedWarranty(AnalysisState& s, const double* x);

} // namespace wf
