#include "cli/cause_out.h"
#include "cli/commands.h"
#include "cli/data_files.h"
#include "cli/json_out.h"
#include "cli/progress_bar.h"
#include "cli/text_out.h"

#include "analysis/warranty_file.h"
#include "external/external_model.h"
#include "external/optimizer_process.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "genetic/genetic_engine.h"
#include "genetic/genetic_run.h"
#include "results/results_data.h"
#include "results/table_text.h"
#include "stats/calculation_run.h"
#include "stats/likelihood_yardstick.h"

#include <memory>

namespace wf::cli {

namespace {

// The grid's cells are padded as in the window, taking a character as 8 px wide.
constexpr int kPixelsPerChar = 8;

// The search's window calls, answered from the command line's options.
class CliGeneticHost final : public BasicGeneticHost {
public:
    CliGeneticHost(ProgressBar& bar, bool pressCopyBest)
        : bar_(bar)
        , pressCopyBest_(pressCopyBest) {}

    void progress(int percent) override {
        BasicGeneticHost::progress(percent);
        // "Скопировать лучших" pressed once, when the search first reports progress.
        if (pressCopyBest_) {
            copyBestRequest = true;
            pressCopyBest_ = false;
        }
        bar_.percent(msg::stageGenetic, percent);
    }

private:
    ProgressBar& bar_;
    bool pressCopyBest_;
};

// A value given on the command line replaces the file's text for that field.
template <class T> void given(RunStart& set, RunField field, T& into, const std::optional<T>& v) {
    if (!v) return;
    into = *v;
    set.accept(field);
}

json fitJson(const AnalysisState& s, const ResultsData& r, const QStringList& memo,
             const QStringList& messages) {
    json models = json::object();
    const std::pair<const char*, const Mod_Weib*> all[] = {
        {"ModNewton", &s.ModNewton}, {"ModSpir", &s.ModSpir}, {"ModSmirnov", &s.ModSmirnov},
        {"ModGen", &s.ModGen},       {"ModExt", &s.ModExt},   {"ModMLE", &s.ModMLE}};
    for (const auto& [name, m] : all)
        if (m->Executed) models[name] = modelJson(s, *m);
    if (s.ModMLE.Executed) {
        const LikelihoodDetail& d = s.ModMLE_Detail;
        // An open side is null; a life the flow does not reach is "unreached".
        const auto pair = [](const ConfidenceBounds& b) {
            if (!b.defined) return json(nullptr);
            if (b.unreached) return json("unreached");
            return json::array(
                {b.loOpen ? json(nullptr) : number(b.lo), b.hiOpen ? json(nullptr) : number(b.hi)});
        };
        json& m = models["ModMLE"];
        m["confidence"] = number(d.confidence);
        m["bounds_method"] = d.method == BoundsMethod::Wald ? "wald" : "lr";
        m["bounds"] = {{"A", pair(d.A)}, {"B", pair(d.B)}, {"K_powtor", pair(d.K)}};
        m["derived_bounds"] = {{"gamma50", pair(d.gamma50)},
                               {"gamma90", pair(d.gamma90)},
                               {"per_product_2000", pair(d.perProduct2000)},
                               {"per_product_4000", pair(d.perProduct4000)}};
        m["message"] = text(d.message);
    }
    // Every model on the one yardstick: l at its own parameters and warranty law.
    const std::vector<const Mod_Weib*> shown = executedModels(s);
    const std::vector<LikelihoodStanding> standings =
        likelihoodStandings(s, shown, yardstickLevel(s));
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (const auto& [name, m] : all)
            if (m == shown[i]) {
                models[name]["log_likelihood"] =
                    standings[i].defined ? number(standings[i].value) : json(nullptr);
                models[name]["outside_confidence_region"] = standings[i].outside;
            }
    return {{"memo", texts(memo)},
            {"models", std::move(models)},
            {"caption", text(r.caption)},
            {"results_table", rowsJson(trimmedRows(r))},
            {"Sred_Gar", number(s.Sred_Gar)},
            {"SKO_Gar", number(s.SKO_Gar)},
            {"T_Prirab", number(s.T_Prirab)},
            {"Lam_Emp", number(s.Lam_Emp)},
            {"T_Lam_Kon", number(s.T_Lam_Kon)},
            {"messages", texts(messages)}};
}

void fitReport(const ResultsData& r, const QStringList& memo) {
    out(r.caption);
    out();
    std::vector<std::vector<QString>> rows;
    for (int row = 0; row < kResultRows; ++row) {
        std::vector<QString> cells;
        for (int c = 0; c <= r.dataColumn; ++c)
            // A value and its bounds below it share one line here.
            cells.push_back(
                QString(r.grid[static_cast<std::size_t>(c)][static_cast<std::size_t>(row)])
                    .replace(QLatin1Char('\n'), QLatin1Char(' ')));
        rows.push_back(std::move(cells));
    }
    printTable(rows);
    out();
    out(QStringLiteral("Ход решения"));
    for (const QString& l : memo) out(l);
}

} // namespace

int runFit(const FitOptions& o) {
    if (o.json && o.csv) {
        err(msg::cliCsvWithJson);
        return kExitUsage;
    }
    AnalysisState s;
    LoadResult load;
    if (!loadDataFile(s, o.file, load)) return kExitDataError;
    QStringList messages = load.messages;
    QString warrantyMean = load.fields.warrantyMean;
    QString warrantySd = load.fields.warrantySd;

    if (!o.warrantyFile.isEmpty()) {
        const WarrantyResult w = ReadWarrantyFile(s, o.warrantyFile);
        errAll(w.messages);
        messages << w.messages;
        if (!w.end.done()) return kExitDataError;
        warrantyMean = w.fields.warrantyMean;
        warrantySd = w.fields.warrantySd;
    }

    // The texts the window would show after loading, read as the window reads them, with
    // the command line's numbers in place of the texts it gives.
    CalcFields f;
    f.filePath = o.file;
    f.warrantyMean = warrantyMean;
    f.warrantySd = warrantySd;
    f.countingPeriod = load.fields.countingPeriod;
    f.stepFactorSpiral = load.fields.stepFactorSpiral;
    f.stepFactorNewton = load.fields.stepFactorNewton;
    f.stepFactorSmirnov = load.fields.stepFactorSmirnov;
    f.spiral = o.spiral;
    f.newton = o.newton;
    f.smirnov = o.smirnov;
    f.mle = o.mle;
    f.bounds = o.waldBounds ? BoundsMethod::Wald : BoundsMethod::LikelihoodRatio;
    f.fitMean = o.fitMean;
    f.fitSd = o.fitSd;
    f.criterion = o.criterion;
    const auto givenStart = [&o](RunStart& set) {
        given(set, RunField::WarrantyMean, set.warrantyMean, o.mean);
        given(set, RunField::WarrantySd, set.warrantySd, o.sd);
        given(set, RunField::BurnIn, set.burnIn, std::optional{o.burnIn});
    };
    CalcSettings set = readCalcSettings(f);
    givenStart(set);
    given(set, RunField::StepFactorSpiral, set.spiral.stepFactor, o.factorSpiral);
    given(set, RunField::StepFactorNewton, set.newton.stepFactor, o.factorNewton);
    given(set, RunField::StepFactorSmirnov, set.smirnov.stepFactor, o.factorSmirnov);
    given(set, RunField::Confidence, set.confidence, std::optional{o.confidence});

    std::unique_ptr<FitClock> clock;
    if (o.evalCostUs)
        clock = std::make_unique<VirtualClock>(*o.evalCostUs);
    else
        clock = std::make_unique<WallClock>();

    ProgressBar bar(o.progress);
    QStringList memo;
    const CalcOutcome calc =
        runCalculation(s, set, *clock, [&bar](const Progress& p) { return bar.update(p); });
    applyCalcWrites(s, calc.writes);
    memo << calc.memo;
    messages << calc.messages;
    if (!calc.end.done()) {
        bar.finish();
        errAll(calc.messages);
        return kExitDataError;
    }

    if (o.genetic) {
        GeneticFields g;
        static_cast<RunFields&>(g) = f;
        g.accuracy = load.fields.accuracy;
        g.generations = load.fields.generations.value_or(QStringLiteral("1500"));
        GeneticRunSettings gs = readGeneticSettings(g);
        givenStart(gs);
        given(gs, RunField::Population, gs.population, std::optional{o.population.value_or(3000)});
        given(gs, RunField::Accuracy, gs.accuracy, o.accuracy);
        given(gs, RunField::Generations, gs.generations, o.generations);
        GeneticPrep prep = prepareGeneticRun(s, gs);
        if (!prep.end.done()) {
            bar.finish();
            errAll(prep.messages);
            return kExitDataError;
        }
        prep.settings.seed = o.seed;
        prep.settings.threads = o.threads;
        prep.settings.polish = o.polish;
        CliGeneticHost host(bar, o.copyBest.has_value());
        host.crossover = o.crossover;
        host.mutation = o.mutation;
        host.copyBest = o.copyBest.value_or(50);
        const GeneticOutcome outcome = runGeneticSearch(s, prep.settings, host);
        memo << host.lines;
        if (!outcome.ranGenerations) {
            bar.finish();
            err(msg::geneticNoResult);
            return kExitDataError;
        }
        memo << applyGeneticOutcome(s, outcome);
    }

    if (o.external) {
        ExternalSettings set = readExternalSettings();
        if (!o.optimizer.isEmpty()) set.optimizerPath = o.optimizer;
        const ExternalResult er =
            runExternalOptimizer(o.file, set, [&bar](const Progress& p) { return bar.update(p); });
        if (!er.end.done()) {
            bar.finish();
            err(er.end.message);
            return kExitDataError;
        }
        memo << applyExternalModel(s, er.A, er.B, er.K);
    }
    bar.finish();

    const ResultsData r = ShowResults(
        s, o.burnIn, [](const QString& t) { return kPixelsPerChar * static_cast<int>(t.size()); });
    storeResults(s, r);
    if (!r.end.done()) {
        err(r.end.message);
        return kExitDataError;
    }
    // Model 3 by cause and under another warranty law, when asked.
    std::optional<WarrantyLaw> law;
    if (o.whatIfMean) law = WarrantyLaw{*o.whatIfMean, o.whatIfSd.value_or(0)};
    CauseFits causes;
    if (o.byCause) {
        causes = fitCauses(s, {set.confidence, set.bounds});
        if (causes.sharedFailures > 0) messages << msg::causesShared(causes.sharedFailures);
    }
    if (o.json) {
        json j = fitJson(s, r, memo, messages);
        if (o.byCause) j["causes"] = causeFitsJson(causes, law);
        if (law) j["what_if"] = whatIfJson(warrantyWhatIf(s, *law));
        printJson(j);
    } else if (o.csv) {
        outText(delimitedText(resultsTableCells(r), kCsvSeparator));
    } else {
        fitReport(r, memo);
        if (const auto in = causesInput(s); o.byCause && in) {
            WhatIfRun run;
            if (law) run = runWhatIf(*in, causes, *law);
            causeFitsReport(causesView(*in, causes, law ? &run : nullptr));
        }
        if (law) whatIfReport(warrantyWhatIf(s, *law));
    }
    return kExitOk;
}

} // namespace wf::cli
