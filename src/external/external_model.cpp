#include "external/external_model.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "stats/evaluation.h"
#include "stats/histogram.h"
#include "stats/model_arrays.h"

namespace wf {

QStringList applyExternalModel(AnalysisState& s, double A, double B, double K) {
    if (s.Otkazy.empty()) return {};
    if (!Postr_Gist(s)) return {};

    Mod_Weib& M = s.ModExt;
    storeFittedModel(s, M, {A, B, K});
    QStringList log;
    log << Dover_Interval(s, M);
    log << msg::externalDone;
    log << fmt::format(msg::externalParamsFormat, {M.A, M.B, M.K_powtor});
    return log;
}

} // namespace wf
