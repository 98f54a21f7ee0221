#include "cli/json_out.h"

#include "stats/evaluation.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace wf::cli {

std::string utf8(const QString& s) {
    return s.toStdString();
}

json text(const QString& s) {
    return utf8(s);
}

json texts(const QStringList& list) {
    json a = json::array();
    for (const QString& s : list) a.push_back(text(s));
    return a;
}

json number(double v) {
    return std::isfinite(v) ? json(v) : json(nullptr);
}

json numbers(const std::vector<double>& v) {
    json a = json::array();
    for (double x : v) a.push_back(number(x));
    return a;
}

json causesJson(const std::vector<Vid_otkaza>& causes) {
    json a = json::array();
    for (const Vid_otkaza& c : causes)
        a.push_back({{"Nazv_Prich", text(c.Nazv_Prich)}, {"Dolya", number(c.Dolya)}});
    return a;
}

json otkazyJson(const std::vector<Problems>& otkazy) {
    json a = json::array();
    for (const Problems& p : otkazy)
        a.push_back({{"time", number(p.time)},
                     {"chey", p.chey},
                     {"Pri", text(p.Pri)},
                     {"komment", text(p.komment)}});
    return a;
}

json histJson(const Hist40& hist) {
    json a = json::array();
    for (const Hist_Rec& h : hist)
        a.push_back({{"time", number(h.time)}, {"Sum", h.Sum}, {"Npr", h.Npr}});
    return a;
}

json modelJson(const AnalysisState& s, const Mod_Weib& m) {
    const auto perInterval = [&s](const DoubArr& v) {
        return numbers(std::vector<double>(
            v.begin(), v.begin() + static_cast<std::ptrdiff_t>(std::min(v.size(), s.Hist.size()))));
    };
    json diagnostics = json::array();
    for (const SearchDiagnostic& d : m.Diagnostics)
        diagnostics.push_back(
            {{"param", text(d.param)},
             {"kind", d.kind == SearchDiagnostic::Kind::Start ? "start" : "bound"},
             {"value", number(d.value)}});
    return {{"A", number(m.A)},
            {"B", number(m.B)},
            {"K_powtor", number(m.K_powtor)},
            {"Sred", number(m.Sred)},
            {"SKO", number(m.SKO)},
            {"LamStart", number(m.LamStart)},
            {"Lam1000", number(m.Lam1000)},
            {"SKO_out", number(m.SKO_out)},
            {"KolmCrt", number(shownKolmogorov(s, m))},
            {"Kol_Nakopl", number(m.Kol_Nakopl)},
            {"Unsens", number(m.Unsens)},
            {"Kol_F_priv", perInterval(m.Kol_F_priv)},
            {"F_Weib", perInterval(m.F_Weib)},
            {"F_norm", perInterval(m.F_norm)},
            {"Executed", m.Executed},
            {"diagnostics", std::move(diagnostics)}};
}

json rowsJson(const std::vector<std::vector<QString>>& rows) {
    json a = json::array();
    for (const auto& row : rows) {
        json r = json::array();
        for (const QString& c : row) r.push_back(text(c));
        a.push_back(std::move(r));
    }
    return a;
}

void printJson(const json& j) {
    // Invalid UTF-8 cannot occur (the texts come from QString), but never let a dump
    // throw past the command.
    std::cout << j.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
}

} // namespace wf::cli
