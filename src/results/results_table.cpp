#include "results/results_table.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "stats/evaluation.h"
#include "stats/fits.h"
#include "stats/likelihood_yardstick.h"
#include "stats/model_figures.h"

namespace wf {

namespace {

constexpr int kLabelWidth = 240;
constexpr int kModelWidth = 145;
constexpr int kFirstAndDataWidth = 155;
constexpr int kDefaultWidth = 237;
// The cell's padding stops this many pixels short of the column's width.
constexpr int kCellMargin = 7;

class TableWriter {
public:
    TableWriter(const AnalysisState& s, ResultsData& r, const TextWidthFn& measure)
        : s_(s)
        , r_(r)
        , measure_(measure) {}

    // One space, the text, then spaces while the text is narrower than the column.
    void PutResultCell(int row, const QString& text) {
        const int col = r_.state.Stolbec_Rez;
        QString cell = QLatin1Char(' ') + text;
        if (measure_) {
            const int limit = r_.widths[static_cast<std::size_t>(col)] - kCellMargin;
            // A measure that does not grow with the text would never end the padding;
            // no column takes more spaces than it has pixels.
            for (int guard = 0; guard < limit && measure_(cell) < limit; ++guard)
                cell += QLatin1Char(' ');
        }
        at(col, row) = cell;
    }

    QString& at(int col, int row) {
        return r_.grid[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
    }

    void setWidth(int col, int width) { r_.widths[static_cast<std::size_t>(col)] = width; }

    // The criterion is shown, not kept. `totals` are the model's running totals of this pass.
    // modelNumber names the model in its warnings; with `bounds`, each estimated figure gets
    // its confidence bounds on a second line.
    // `standing` is the model's place on the likelihood yardstick at `level`.
    void FillModelColumn(const Mod_Weib& model, const std::optional<ModelTotals>& totals,
                         const QString& caption, int width, const LikelihoodStanding& standing,
                         double level, const QString& modelNumber = {},
                         const LikelihoodDetail* bounds = nullptr) {
        if (!model.Executed || r_.state.Stolbec_Rez >= kResultColumns - 1) return;
        const int col = r_.state.Stolbec_Rez;
        setWidth(col, width);
        at(col, 0) = caption;
        for (const SearchDiagnostic& d : model.Diagnostics)
            r_.warnings[static_cast<std::size_t>(col)] << diagnosticLine(modelNumber, d);

        QString verdict;
        const double kc = shownKolmogorov(s_, model, &verdict);
        const double kolNakopl = totals ? totals->Kol_Nakopl : model.Kol_Nakopl;
        const double k = model.K_powtor;

        const auto below = [bounds](const QString& value, const QString& range) {
            return bounds ? value + QLatin1Char('\n') + range : value;
        };
        const LikelihoodDetail none;
        const LikelihoodDetail& b = bounds ? *bounds : none;
        PutResultCell(1, below(fmt::format(QStringLiteral("%6.3f / %7.2f"), {model.A, model.B}),
                               boundsText(b.A, 2) + QStringLiteral(" / ") + boundsText(b.B, 1)));
        PutResultCell(2, below(fmt::format(QStringLiteral("%6.3f"), {k}), boundsText(b.K, 3)));
        PutResultCell(
            3, below(fmt::integer(gammaLife(model.A, model.B, k, 0.5)) + QStringLiteral(" ч."),
                     boundsText(b.gamma50, 0)));
        PutResultCell(
            4, below(fmt::integer(gammaLife(model.A, model.B, k, 0.1)) + QStringLiteral(" ч."),
                     boundsText(b.gamma90, 0)));
        PutResultCell(5, fmt::integer(kolNakopl) + QStringLiteral(" /") +
                             fmt::integer(kolNakopl / s_.Masshtab));
        PutResultCell(
            6, fmt::format(QStringLiteral("%5.2f / %5.2f"), {1.96 * model.SKO_out, model.SKO_out}));
        PutResultCell(7, fmt::format(QStringLiteral("%4.1f"), {model.Sred}) + QStringLiteral(" ч"));
        PutResultCell(8, fmt::format(QStringLiteral("%4.1f"), {model.SKO}) + QStringLiteral(" ч"));
        PutResultCell(9, fmt::format(QStringLiteral("%6.3f"), {kc}) + verdict);
        PutResultCell(10,
                      fmt::format(QStringLiteral("%6.4f/ %6.4f"), {model.LamStart, model.Lam1000}));
        PutResultCell(11, below(fmt::format(QStringLiteral("%6.2f / %6.2f"),
                                            {failuresPerProduct(model.A, model.B, k, 2000),
                                             failuresPerProduct(model.A, model.B, k, 4000)}),
                                boundsText(b.perProduct2000, 2) + QStringLiteral(" / ") +
                                    boundsText(b.perProduct4000, 2)));
        PutResultCell(12, standing.defined
                              ? fmt::fixed(standing.value, 0, 2) + QStringLiteral(" (") +
                                    fmt::fixed(standing.delta, 0, 2) + QLatin1Char(')')
                              : msg::noLikelihood);
        if (standing.outside)
            r_.warnings[static_cast<std::size_t>(col)] << msg::outsideLikelihoodRegion(
                modelNumber.isEmpty() ? QStringLiteral("«") + caption + QStringLiteral("»")
                                      : modelNumber,
                fmt::general(100 * level));
        ++r_.state.Stolbec_Rez;
    }

private:
    const AnalysisState& s_;
    ResultsData& r_;
    const TextWidthFn& measure_;
};

} // namespace

QString boundsText(const ConfidenceBounds& b, int decimals) {
    if (!b.defined) return msg::boundsUndefined;
    if (b.unreached) return msg::lifeUnreached;
    const auto v = [decimals](double x) {
        return decimals == 0 ? fmt::integer(x) : fmt::fixed(x, 0, decimals);
    };
    // An open side reaches the end of the figure's range: 0 below, infinity above.
    const QString lo = b.loOpen ? QStringLiteral("(0") : QLatin1Char('[') + v(b.lo);
    const QString hi = b.hiOpen ? QStringLiteral("∞)") : v(b.hi) + QLatin1Char(']');
    return lo + QStringLiteral(" … ") + hi;
}

void fillResultTable(const AnalysisState& s, ResultsData& r, const TextWidthFn& measure) {
    TableWriter w(s, r, measure);
    ResultsState& u = r.state;
    u.Stolbec_Rez = 1;
    for (auto& column : r.grid) column.fill(QString());
    for (QStringList& w : r.warnings) w.clear();
    r.widths.fill(kDefaultWidth);
    w.setWidth(0, kLabelWidth);

    const double level = yardstickLevel(s);
    const std::vector<const Mod_Weib*> shown = executedModels(s);
    const std::vector<LikelihoodStanding> standings = likelihoodStandings(s, shown, level);
    auto standingOf = [&](const Mod_Weib& m) {
        for (std::size_t i = 0; i < shown.size(); ++i)
            if (shown[i] == &m) return standings[i];
        return LikelihoodStanding{};
    };
    w.FillModelColumn(s.ModNewton, u.ModNewton, QStringLiteral("Пирсона/Ньютона"), kModelWidth,
                      standingOf(s.ModNewton), level, QStringLiteral("1.2"));
    w.FillModelColumn(s.ModSpir, u.ModSpir, QStringLiteral("Пирсона/спир.спуск"), kModelWidth,
                      standingOf(s.ModSpir), level, QStringLiteral("1.1"));
    w.FillModelColumn(s.ModSmirnov, u.ModSmirnov, QStringLiteral("Критерий Смирнова"), kModelWidth,
                      standingOf(s.ModSmirnov), level, QStringLiteral("2"));
    w.FillModelColumn(s.ModGen, u.ModGen, QStringLiteral("Генетическая"), kModelWidth,
                      standingOf(s.ModGen), level);
    w.FillModelColumn(s.ModExt, u.ModExt, QStringLiteral("Golang"), kModelWidth,
                      standingOf(s.ModExt), level);
    w.FillModelColumn(s.ModMLE, u.ModMLE, msg::mleColumn, kModelWidth, standingOf(s.ModMLE), level,
                      QStringLiteral("3"), &s.ModMLE_Detail);

    const int data = u.Stolbec_Rez;
    r.dataColumn = data;
    w.setWidth(1, kFirstAndDataWidth);
    w.setWidth(data, kFirstAndDataWidth);
    w.at(0, 0) = QStringLiteral("Результаты для моделей:");
    w.at(data, 0) = QStringLiteral("Данные эксплуатации");

    w.at(0, 1) = QStringLiteral("Распр. Вейбулла(A,B как в Excel)");
    w.at(0, 2) = QStringLiteral("Коэффициент повторности");
    w.at(0, 3) = QStringLiteral("Гамма 50%(Nотк./Nпарк)");
    w.PutResultCell(3, fmt::integer(s.T50_Nabl) + QStringLiteral("(набл.)/") +
                           fmt::integer(s.T50_Cens) + QStringLiteral("(ценз.)"));
    w.at(0, 4) = QStringLiteral("Гамма 90%");
    w.PutResultCell(4, fmt::integer(s.T10));
    w.at(0, 5) = QStringLiteral("Число известных отказов");
    w.PutResultCell(5, fmt::general(s.Kol_Otk_Bez_Braka));
    w.at(0, 6) = QStringLiteral("95% доверит. инт-л/СКО модели");
    w.at(0, 7) = QStringLiteral("Средний фактич. срок гарантии");
    w.at(0, 8) = QStringLiteral("СКО фактич-го срока гарантии");
    w.at(0, 9) = QStringLiteral("Критерий Колмогорова");

    const double last = s.Otkazy.empty() ? 1000.0 : s.Otkazy.back().time;
    u.T_Lam_Kon = last < 1000 ? last : 1000.0;
    w.at(0, 10) = QStringLiteral("Частота отказов/1000 ч (") + fmt::general(u.T_Prirab) +
                  QLatin1Char(',') + fmt::general(u.T_Lam_Kon) + QStringLiteral(" ч)");
    w.PutResultCell(10, u.T_Prirab < 1000 ? fmt::format(QStringLiteral("%5.3f"), {u.Lam_Emp}) +
                                                QStringLiteral(" (до 1000 ч.)")
                                          : kNoRateWindow);
    w.at(0, 11) = QStringLiteral("Отказов/изд. за 2000/4000 ч");
    w.at(0, 12) = msg::likelihoodRow;
    w.PutResultCell(11, fmt::format(QStringLiteral("%4.2f"), {s.Otk_2000}));
}

} // namespace wf
