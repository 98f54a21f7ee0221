// weibflow-cli: the analysis engine from the command line. This file only parses.

#include "cli/commands.h"
#include "cli/parse_errors.h"
#include "cli/russian_help.h"
#include "cli/text_out.h"
#include "cli/validators.h"

#include "format/messages.h"

#include <QCoreApplication>
#include <QLocale>

#include <CLI/CLI.hpp>

#include <clocale>
#include <optional>
#include <string>

using namespace wf;
using namespace wf::cli;

namespace {

// Binds a numeric option given as text (locale separator or point).
struct NumberOpt {
    std::string text;
    CLI::Option* opt = nullptr;
    std::optional<double> value() const {
        return opt && opt->count() ? readNumber(text) : std::nullopt;
    }
};

NumberOpt addNumber(CLI::App* app, const std::string& name, const std::string& help,
                    bool required = false) {
    NumberOpt n;
    n.opt = app->add_option(name, n.text, help)->check(numberValue());
    if (required) n.opt->required();
    return n;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication qapp(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("weibflow-cli"));
    // Number text comes from QLocale; the C library keeps the point for its own conversions.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::system());

    CLI::App app{"weibflow-cli: анализ отказов изделий в гарантийный период"};
    useRussianHelp(app);
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("weibflow-cli " WEIBFLOW_VERSION),
                         "показать версию и выйти");
    bool json = false, csv = false;
    app.add_flag("--json", json, "один объект JSON на stdout вместо отчёта");

    std::string file;
    auto fileArg = [&file](CLI::App* c, const char* help) {
        c->add_option(msg::helpFile.toStdString(), file, help)->required();
    };

    CLI::App* load =
        app.add_subcommand("load", "прочитать файл данных об отказах и сводку загрузки");
    fileArg(load, "файл данных об отказах");
    load->add_flag("--json", json, "вывод в JSON");
    load->add_flag("--csv", csv, "таблица отказов в CSV (UTF-8, поля через «;») вместо отчёта");

    CLI::App* hist =
        app.add_subcommand("histogram", "построить частотную диаграмму потока отказов");
    fileArg(hist, "файл данных об отказах");
    hist->add_flag("--json", json, "вывод в JSON");

    CLI::App* eval = app.add_subcommand("evaluate", "оценить заданную модель");
    fileArg(eval, "файл данных об отказах");
    eval->add_flag("--json", json, "вывод в JSON");
    NumberOpt eA = addNumber(eval, "--A", "параметр формы A", true);
    NumberOpt eB = addNumber(eval, "--B", "параметр масштаба B, ч", true);
    NumberOpt eK = addNumber(eval, "--K", "коэффициент повторности K", true);
    NumberOpt eMean =
        addNumber(eval, "--mean", "среднее время гарантии, ч (по умолчанию из файла)");
    NumberOpt eSd = addNumber(eval, "--sd", "СКО времени гарантии, ч (по умолчанию из файла)");
    NumberOpt eBurn = addNumber(eval, "--burn-in", "время приработки, ч (300)");

    CLI::App* war = app.add_subcommand("warranty", "прочитать файл времён окончания гарантии");
    fileArg(war, "файл времён окончания гарантии");
    war->add_flag("--json", json, "вывод в JSON");

    CLI::App* fit = app.add_subcommand("fit", "расчёт моделей и таблица результатов");
    fileArg(fit, "файл данных об отказах");
    fit->add_flag("--json", json, "вывод в JSON");
    fit->add_flag("--csv", csv, "таблица результатов в CSV (UTF-8, поля через «;») вместо отчёта");
    std::vector<std::string> models{"spiral"};
    fit->add_option("--models", models,
                    "spiral,newton,smirnov,mle,genetic,external или none (spiral)")
        ->delimiter(',');
    FitOptions fo;
    fit->add_flag("--fit-mean", fo.fitMean, "подбор среднего времени гарантии");
    fit->add_flag("--fit-sd", fo.fitSd, "подбор СКО времени гарантии");
    fit->add_option("--criterion", fo.criterion, "способ подбора 0|1|2 (1)")
        ->check(integerIn(0, 2));
    NumberOpt fMean = addNumber(fit, "--mean", "среднее время гарантии, ч (из файла)");
    NumberOpt fSd = addNumber(fit, "--sd", "СКО времени гарантии, ч (из файла)");
    NumberOpt fBurn = addNumber(fit, "--burn-in", "время приработки, ч (300)");
    NumberOpt fSpiral = addNumber(fit, "--factor-spiral", "коэф-т уменьшения шага модели 1.1");
    NumberOpt fNewton = addNumber(fit, "--factor-newton", "коэф-т уменьшения шага модели 1.2");
    NumberOpt fSmirnov = addNumber(fit, "--factor-smirnov", "коэф-т уменьшения шага модели 2");
    NumberOpt fConfidence =
        addNumber(fit, "--confidence", "доверительная вероятность границ модели 3 (0.95)");
    std::string bounds = "lr";
    fit->add_option("--bounds", bounds,
                    "границы модели 3: lr — по правдоподобию, wald — по Вальду (lr)")
        ->check(oneOf({"lr", "wald"}));
    int population = 0, generations = 0, copyBest = 0;
    CLI::Option* popOpt = fit->add_option("--population", population, "размер популяции (3000)")
                              ->check(integerIn(1, 100000000));
    CLI::Option* genOpt = fit->add_option("--generations", generations, "число поколений")
                              ->check(integerIn(1, 100000000));
    NumberOpt fAcc = addNumber(fit, "--accuracy", "точность подбора");
    CLI::Option* copyOpt = fit->add_option("--copy-best", copyBest,
                                           "скопировать лучших (шт.) один раз в начале поиска")
                               ->check(integerIn(0, 100000000));
    fit->add_option("--crossover", fo.crossover, "вероятность скрещивания 0..100 (55)")
        ->check(integerIn(0, 100));
    fit->add_option("--mutation", fo.mutation, "вероятность мутаций 0..100 (15)")
        ->check(integerIn(0, 100));
    std::string warranty, optimizer;
    fit->add_option("--warranty", warranty, "файл времён окончания гарантии (читается до расчёта)");
    unsigned long long seed = 0;
    CLI::Option* seedOpt = fit->add_option("--seed", seed, msg::helpSeed.toStdString());
    fit->add_option("--threads", fo.threads,
                    "потоков для генетического поиска (0 = все ядра); результат от них не зависит")
        ->check(integerIn(0, 256));
    long long cost = 0;
    CLI::Option* costOpt = fit->add_option("--eval-cost-us", cost, msg::helpEvalCost.toStdString())
                               ->check(integerIn(1, 1000000000));
    fit->add_option("--optimizer", optimizer, "программа внешней оптимизации");
    fit->add_flag("--progress", fo.progress, "индикатор хода расчёта на stderr");
    std::string polish = "on";
    fit->add_option("--polish", polish,
                    "уточнить лучший вариант генетического поиска локальным поиском on|off (on)")
        ->check(oneOf({"on", "off"}));

    fit->add_flag("--by-cause", fo.byCause, "модель 3 отдельно по каждой причине отказов");
    NumberOpt fWhatIfMean =
        addNumber(fit, "--what-if-mean", "среднее время гарантии другого закона для модели 3, ч");
    NumberOpt fWhatIfSd = addNumber(fit, "--what-if-sd",
                                    "СКО времени гарантии другого закона, ч (0: постоянный срок)");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        err(msg::cliUsageError(parseErrorText(e, app)));
        return kExitUsage;
    }

    const QString path = QString::fromStdString(file);
    if (load->parsed()) return runLoad({path, json, csv});
    if (hist->parsed()) return runHistogram({path, json, false});
    if (war->parsed()) return runWarranty({path, json});
    if (eval->parsed()) {
        EvaluateOptions o;
        o.file = path;
        o.json = json;
        o.A = *eA.value();
        o.B = *eB.value();
        o.K = *eK.value();
        o.mean = eMean.value();
        o.sd = eSd.value();
        o.burnIn = eBurn.value().value_or(300);
        return runEvaluate(o);
    }

    fo.file = path;
    fo.json = json;
    fo.csv = csv;
    for (const std::string& m : models) {
        if (m == "spiral")
            fo.spiral = true;
        else if (m == "newton")
            fo.newton = true;
        else if (m == "smirnov")
            fo.smirnov = true;
        else if (m == "mle")
            fo.mle = true;
        else if (m == "genetic")
            fo.genetic = true;
        else if (m == "external")
            fo.external = true;
        else if (!m.empty() && m != "none") {
            err(msg::cliUsageError(msg::cliUnknownModel(QString::fromStdString(m))));
            return kExitUsage;
        }
    }
    fo.mean = fMean.value();
    fo.sd = fSd.value();
    fo.burnIn = fBurn.value().value_or(300);
    fo.confidence = fConfidence.value().value_or(0.95);
    fo.waldBounds = bounds == "wald";
    fo.factorSpiral = fSpiral.value();
    fo.factorNewton = fNewton.value();
    fo.factorSmirnov = fSmirnov.value();
    if (popOpt->count()) fo.population = population;
    if (genOpt->count()) fo.generations = generations;
    fo.accuracy = fAcc.value();
    if (copyOpt->count()) fo.copyBest = copyBest;
    fo.warrantyFile = QString::fromStdString(warranty);
    if (seedOpt->count()) fo.seed = seed;
    fo.polish = polish == "on";
    if (costOpt->count()) fo.evalCostUs = cost;
    fo.optimizer = QString::fromStdString(optimizer);
    fo.whatIfMean = fWhatIfMean.value();
    fo.whatIfSd = fWhatIfSd.value();
    if (fo.whatIfSd && !fo.whatIfMean) {
        err(msg::cliUsageError(msg::cliWhatIfNeedsMean));
        return kExitUsage;
    }
    if ((fo.byCause || fo.whatIfMean) && !fo.mle) {
        err(msg::cliUsageError(msg::cliNeedsModelThree));
        return kExitUsage;
    }
    return runFit(fo);
}
