#pragma once
// The commands of weibflow-cli. Each takes its parsed options, writes its report (or one
// JSON object) to stdout and messages to stderr, and returns the exit code.

#include <QString>

#include <optional>
#include <vector>

namespace wf::cli {

enum ExitCode : int { kExitOk = 0, kExitDataError = 1, kExitUsage = 2 };

struct LoadOptions {
    QString file;
    bool json = false;
    bool csv = false; // load: the failure table as CSV instead of the report
};

struct EvaluateOptions {
    QString file;
    bool json = false;
    double A = 0, B = 0, K = 0;
    std::optional<double> mean, sd;
    double burnIn = 300;
};

struct WarrantyOptions {
    QString file;
    bool json = false;
};

struct FitOptions {
    QString file;
    bool json = false;
    bool csv = false; // the results table as CSV instead of the report
    bool spiral = false, newton = false, smirnov = false, mle = false, genetic = false,
         external = false;
    double confidence = 0.95; // level of model 3's bounds
    bool waldBounds = false;  // model 3's bounds from the observed information
    bool fitMean = false, fitSd = false;
    int criterion = 1;
    std::optional<double> mean, sd;
    double burnIn = 300;
    std::optional<double> factorSpiral, factorNewton, factorSmirnov;
    std::optional<int> population, generations;
    std::optional<double> accuracy;
    std::optional<int> copyBest;
    int crossover = 55, mutation = 15;
    QString warrantyFile;
    std::optional<unsigned long long> seed;
    int threads = 0;
    std::optional<long long> evalCostUs;
    QString optimizer;
    bool progress = false;
    bool polish = true;                         // local refinement of the genetic search's best
    bool byCause = false;                       // model 3 fitted to each cause alone
    std::optional<double> whatIfMean, whatIfSd; // another warranty law for model 3, h
};

int runLoad(const LoadOptions& o);
int runHistogram(const LoadOptions& o);
int runEvaluate(const EvaluateOptions& o);
int runWarranty(const WarrantyOptions& o);
int runFit(const FitOptions& o);

} // namespace wf::cli
