#include "analysis/search_point.h"

namespace wf {

WarrantyValues warrantyAt(const AnalysisState& s, const double* x) {
    WarrantyValues w{s.Sred_Gar, s.SKO_Gar};
    int next = kFirstWarranty;
    if (s.Podbor_Sred) w.mean = x[next++];
    if (s.Podbor_SKO) w.sd = x[next];
    return w;
}

void storeSearchedWarranty(AnalysisState& s, const double* x) {
    const WarrantyValues w = warrantyAt(s, x);
    s.Sred_Gar = w.mean;
    s.SKO_Gar = w.sd;
}

} // namespace wf
