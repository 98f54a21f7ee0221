#include "cli/text_out.h"

#include "format/number_format.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace wf::cli {

void out(const QString& line) {
    std::cout << line.toStdString() << '\n';
}

void outText(const QString& text) {
    std::cout << text.toStdString();
}

void err(const QString& line) {
    std::cerr << line.toStdString() << '\n';
}

void errAll(const QStringList& lines) {
    for (const QString& l : lines) err(l);
}

void printTable(const std::vector<std::vector<QString>>& rows, const std::vector<bool>& right) {
    std::vector<qsizetype> widths;
    for (const auto& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    }
    for (const auto& row : rows) {
        QString line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) line += QStringLiteral("  ");
            const bool r = c < right.size() && right[c];
            line += r ? row[c].rightJustified(widths[c]) : row[c].leftJustified(widths[c]);
        }
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
        out(line);
    }
}

void printPairs(const std::vector<std::pair<QString, QString>>& pairs) {
    qsizetype w = 0;
    for (const auto& p : pairs) w = std::max(w, p.first.size());
    for (const auto& p : pairs) out((p.first + QLatin1Char(':')).leftJustified(w + 2) + p.second);
}

QString numberText(double v) {
    return std::isfinite(v) ? fmt::general(v) : QStringLiteral("—");
}

} // namespace wf::cli
