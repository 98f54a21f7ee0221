#pragma once
// Helpers of the hostile-input tests: a good fleet file to load first, and a snapshot of the
// analysis that a refused action must leave as it was.

#include "analysis/failure_file.h"
#include "analysis/state.h"
#include "fleet_files.h"
#include "locale_guard.h"
#include "temp_files.h"

#include <vector>

namespace wf::hostile {

using test::commaLocale;
using test::joinLines;
using test::LocaleScope;
using test::TempFiles;
using test::toCp1251;

// The lines of a small fleet: 30 failures of two causes from 100 h to 3000 h, one defect.
inline QStringList goodFleetLines() {
    QStringList failures{test::failure(QStringLiteral("0.5"), QStringLiteral("Насос"),
                                       QStringLiteral("найден при приемке"))};
    for (int i = 1; i <= 30; ++i)
        failures << test::failure(QString::number(i * 100),
                                  i % 3 ? QStringLiteral("Насос топливный")
                                        : QStringLiteral("датчик ДМ"),
                                  QStringLiteral("описание отказа номер %1").arg(i));
    return test::dataFile({QStringLiteral("Насос"), QStringLiteral("Датчик")}, failures,
                          QStringLiteral("3000"), QStringLiteral("800"), QStringLiteral("200"),
                          QStringLiteral("Парк для проверки"));
}

inline QByteArray goodFleetBytes(const char* eol = "\r\n") {
    return joinLines(goodFleetLines(), eol);
}

// What a refused action must not touch: the failures, the histogram and the models.
struct Snapshot {
    std::vector<Problems> otkazy;
    std::vector<Vid_otkaza> causes;
    Hist40 hist;
    std::vector<Mod_Weib> models;
    QString komment;
    double park = 0;

    explicit Snapshot(const AnalysisState& s)
        : otkazy(s.Otkazy)
        , causes(s.Vidy_Otk_Sort)
        , hist(s.Hist)
        , models{s.ModSpir, s.ModNewton, s.ModSmirnov, s.ModGen, s.ModExt}
        , komment(s.Kommentarij)
        , park(s.Park) {}
};

inline bool sameModel(const Mod_Weib& a, const Mod_Weib& b) {
    return a.A == b.A && a.B == b.B && a.K_powtor == b.K_powtor && a.Sred == b.Sred &&
           a.SKO == b.SKO && a.SKO_out == b.SKO_out && a.Executed == b.Executed &&
           a.Kol_F_priv == b.Kol_F_priv && a.F_Weib == b.F_Weib && a.F_norm == b.F_norm;
}

inline void expectUnchanged(const Snapshot& before, const AnalysisState& s) {
    ASSERT_EQ(before.otkazy.size(), s.Otkazy.size());
    for (std::size_t i = 0; i < s.Otkazy.size(); ++i) {
        EXPECT_EQ(before.otkazy[i].time, s.Otkazy[i].time) << i;
        EXPECT_EQ(before.otkazy[i].chey, s.Otkazy[i].chey) << i;
        EXPECT_EQ(before.otkazy[i].Pri, s.Otkazy[i].Pri) << i;
        EXPECT_EQ(before.otkazy[i].komment, s.Otkazy[i].komment) << i;
    }
    ASSERT_EQ(before.causes.size(), s.Vidy_Otk_Sort.size());
    for (std::size_t j = 0; j < s.Vidy_Otk_Sort.size(); ++j)
        EXPECT_EQ(before.causes[j].Nazv_Prich, s.Vidy_Otk_Sort[j].Nazv_Prich);
    ASSERT_EQ(before.hist.size(), s.Hist.size());
    for (std::size_t k = 0; k < s.Hist.size(); ++k) {
        EXPECT_EQ(before.hist[k].time, s.Hist[k].time);
        EXPECT_EQ(before.hist[k].Sum, s.Hist[k].Sum);
        EXPECT_EQ(before.hist[k].Npr, s.Hist[k].Npr);
    }
    const Mod_Weib* now[] = {&s.ModSpir, &s.ModNewton, &s.ModSmirnov, &s.ModGen, &s.ModExt};
    for (std::size_t m = 0; m < 5; ++m) EXPECT_TRUE(sameModel(before.models[m], *now[m])) << m;
    EXPECT_EQ(before.komment, s.Kommentarij);
    EXPECT_EQ(before.park, s.Park);
}

} // namespace wf::hostile
