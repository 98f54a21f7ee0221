// The companion program weibflow-optimizer on fleets drawn from known models.

#include "fields.h"
#include "files.h"
#include "fleet_files.h"

#include "analysis/failure_file.h"
#include "external/optimizer_process.h"
#include "genetic/encoding.h"
#include "stats/histogram.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

namespace {

const QString kOptimizer = QStringLiteral(WEIBFLOW_BIN_DIR "/weibflow-optimizer");

class OptimizerProgram : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString writeFleet(const wf::test::Truth& t, const QString& name) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(wf::test::writeFile(path, wf::test::makeFleetFile(t)));
        return path;
    }
    wf::ExternalResult run(const QString& data) {
        return wf::runExternalOptimizer(
            data, wf::test::optimizerAt(kOptimizer, std::chrono::milliseconds(60'000)));
    }

    QTemporaryDir dir_;
    wf::test::EnvScope runtime_{"XDG_RUNTIME_DIR", dir_.path().toLocal8Bit()};
};

TEST_F(OptimizerProgram, RecoversAKnownModelAndBeatsItsObjective) {
    wf::test::Truth truth; // A 1.5, B 3000 h, K 0.5, 2000 products, exit 2500 ± 600 h
    truth.seed = 11;
    const QString data = writeFleet(truth, QStringLiteral("known fleet.txt"));
    const wf::ExternalResult r = run(data);
    ASSERT_EQ(r.end.how, wf::Termination::Done) << r.end.message.toStdString();
    // About 700 failures seen: sampling noise alone moves the fitted values by several
    // per cent, and B and K trade against each other under censoring.
    EXPECT_NEAR(r.A, truth.A, 0.2 * truth.A);
    EXPECT_NEAR(r.B, truth.B, 0.3 * truth.B);
    EXPECT_NEAR(r.K, truth.K, 0.3 * truth.K);

    wf::AnalysisState s;
    QFile f(data);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    ASSERT_TRUE(wf::parseFailureFile(s, f.readAll(), data).end.done());
    ASSERT_TRUE(wf::Postr_Gist(s));
    wf::Mod_Weib M;
    const double atTruth = wf::Celev_Gen(s, M, truth.A, truth.B, truth.K, s.Sred_Gar, s.SKO_Gar);
    const double found = wf::Celev_Gen(s, M, r.A, r.B, r.K, s.Sred_Gar, s.SKO_Gar);
    EXPECT_LT(found, atTruth);
}

TEST_F(OptimizerProgram, SameFileSameAnswerAndSmallSharesLeaveTheCreationRange) {
    wf::test::Truth truth;
    truth.A = 0.8;
    truth.B = 5000;
    truth.K = 0.05; // well below the genetic creation range of K
    truth.Park = 5000;
    truth.seed = 5;
    const QString data = writeFleet(truth, QStringLiteral("rare.txt"));
    const wf::ExternalResult a = run(data);
    ASSERT_EQ(a.end.how, wf::Termination::Done) << a.end.message.toStdString();
    const wf::ExternalResult b = run(data);
    ASSERT_EQ(b.end.how, wf::Termination::Done) << b.end.message.toStdString();
    EXPECT_EQ(a.A, b.A);
    EXPECT_EQ(a.B, b.B);
    EXPECT_EQ(a.K, b.K);
    // About 190 failures and a B far beyond the observed times: only the shape is tight.
    EXPECT_NEAR(a.A, truth.A, 0.25 * truth.A);
    EXPECT_LT(a.K, 0.5);
}

TEST_F(OptimizerProgram, DataErrorsEndWithARussianMessage) {
    const wf::ExternalResult missing = run(dir_.filePath(QStringLiteral("нет такого.txt")));
    EXPECT_EQ(missing.problem, wf::ExternalResult::Problem::NonZeroExit);
    EXPECT_TRUE(missing.end.message.contains(QStringLiteral("не существует")))
        << missing.end.message.toStdString();

    const QString onlyHeader = dir_.filePath(QStringLiteral("empty.txt"));
    QFile f(onlyHeader);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("fleet\r\n2500\r\n600\r\n100\r\n0\r\n1\r\nsensor\r\n");
    f.close();
    const wf::ExternalResult empty = run(onlyHeader);
    EXPECT_EQ(empty.problem, wf::ExternalResult::Problem::NonZeroExit);
    EXPECT_FALSE(empty.end.message.isEmpty());
}

TEST_F(OptimizerProgram, NeedsItsResultPathAndOneFile) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("WEIBFLOW_RESULT_FILE"));
    p.setProcessEnvironment(env);
    p.start(kOptimizer, {dir_.filePath(QStringLiteral("x.txt"))});
    ASSERT_TRUE(p.waitForFinished(30'000));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_TRUE(QString::fromLocal8Bit(p.readAllStandardError()).contains("WEIBFLOW_RESULT_FILE"));

    env.insert(QStringLiteral("WEIBFLOW_RESULT_FILE"), dir_.filePath(QStringLiteral("r.txt")));
    p.setProcessEnvironment(env);
    p.start(kOptimizer, {});
    ASSERT_TRUE(p.waitForFinished(30'000));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_TRUE(QString::fromLocal8Bit(p.readAllStandardError()).contains("weibflow-optimizer"));
}

} // namespace
