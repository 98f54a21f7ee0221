#include "cli/cause_out.h"

#include "cli/text_out.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "results/results_table.h"

namespace wf::cli {

namespace {

const char* kindKey(CauseKind k) {
    switch (k) {
    case CauseKind::Early:
        return "early";
    case CauseKind::Wearout:
        return "wearout";
    case CauseKind::Random:
        return "random";
    case CauseKind::Unknown:
        break;
    }
    return nullptr;
}

} // namespace

json boundsJson(const ConfidenceBounds& b) {
    if (!b.defined) return nullptr;
    return json::array(
        {b.loOpen ? json(nullptr) : number(b.lo), b.hiOpen ? json(nullptr) : number(b.hi)});
}

json whatIfJson(const WhatIf& w) {
    return {{"mean", number(w.law.mean)},
            {"sd", number(w.law.sd)},
            {"per_product", w.defined ? number(w.perProduct) : json(nullptr)},
            {"bounds", boundsJson(w.bounds)},
            {"fleet", w.defined ? number(w.fleet) : json(nullptr)},
            {"current_per_product", w.defined ? number(w.currentPerProduct) : json(nullptr)},
            {"message", text(w.message)}};
}

json causeFitsJson(const CauseFits& all, const std::optional<WarrantyLaw>& law) {
    json list = json::array();
    for (const CauseFit& c : all.causes) {
        const auto value = [&c](const MleEstimate& e) {
            return c.fitted ? number(e.value) : json(nullptr);
        };
        const auto bounds = [&c](const MleEstimate& e) {
            return c.fitted ? boundsJson(e.bounds) : json(nullptr);
        };
        json j = {{"name", text(c.name)},
                  {"failures", c.failures},
                  {"A", value(c.fit.A)},
                  {"B", value(c.fit.B)},
                  {"K_powtor", value(c.fit.K)},
                  {"bounds",
                   {{"A", bounds(c.fit.A)}, {"B", bounds(c.fit.B)}, {"K_powtor", bounds(c.fit.K)}}},
                  {"per_product_warranty", value(c.perProductWarranty)},
                  {"per_product_2000", value(c.fit.perProduct2000)},
                  {"per_product_4000", value(c.fit.perProduct4000)},
                  {"derived_bounds",
                   {{"per_product_warranty", bounds(c.perProductWarranty)},
                    {"per_product_2000", bounds(c.fit.perProduct2000)},
                    {"per_product_4000", bounds(c.fit.perProduct4000)}}},
                  {"kind", kindKey(c.kind) ? json(kindKey(c.kind)) : json(nullptr)},
                  {"message", text(c.message)}};
        if (law) j["what_if"] = whatIfJson(warrantyWhatIf(c, *law));
        list.push_back(std::move(j));
    }
    return list;
}

void whatIfReport(const WhatIf& w) {
    out();
    out(msg::whatIfTitle);
    if (!w.defined) {
        out(w.message);
        return;
    }
    printPairs({{QStringLiteral("Среднее время гарантии, ч"), fmt::general(w.law.mean)},
                {QStringLiteral("СКО времени гарантии, ч"), fmt::general(w.law.sd)},
                {QStringLiteral("Отказов на изделие"),
                 fmt::fixed(w.perProduct, 0, 3) + QLatin1Char(' ') + boundsText(w.bounds, 3)},
                {QStringLiteral("Отказов на парк"), fmt::fixed(w.fleet, 0, 1)},
                {QStringLiteral("При текущем законе, на изделие"),
                 fmt::fixed(w.currentPerProduct, 0, 3)}});
}

void causeFitsReport(const CausesView& v) {
    out();
    out(msg::causesTitle);
    printTable(v.table);
    for (const QString& note : v.notes) out(note);
}

} // namespace wf::cli
