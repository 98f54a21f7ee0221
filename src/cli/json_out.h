#pragma once
// JSON pieces of the analysis state, keyed by the values' own names.

#include "analysis/state.h"

#include <QString>
#include <QStringList>

#include <nlohmann/json.hpp>

#include <array>
#include <vector>

namespace wf::cli {

using nlohmann::json;

std::string utf8(const QString& s);
json text(const QString& s);
json texts(const QStringList& list);
// A finite number, or null.
json number(double v);
json numbers(const std::vector<double>& v);

json causesJson(const std::vector<Vid_otkaza>& causes);
json otkazyJson(const std::vector<Problems>& otkazy);
json histJson(const Hist40& hist);
// A model record: its per-interval arrays cut to the histogram's length (a record keeps longer
// arrays from earlier data), KolmCrt the criterion the results table shows.
json modelJson(const AnalysisState& s, const Mod_Weib& m);
json rowsJson(const std::vector<std::vector<QString>>& rows);
template <std::size_t N> json rowJson(const std::array<QString, N>& row) {
    json r = json::array();
    for (const QString& c : row) r.push_back(text(c));
    return r;
}

// The object on stdout, on one line.
void printJson(const json& j);

} // namespace wf::cli
