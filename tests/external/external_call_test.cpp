// Starting, waiting for and reading back the external optimizer, with stand-in programs.

#include "external/external_settings.h"
#include "external/optimizer_process.h"
#include "external/private_folder.h"
#include "fields.h"
#include "files.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <thread>

using namespace std::chrono_literals;
using wf::ExternalResult;
using wf::ExternalSettings;
using wf::Termination;

namespace {

// Each test gets its own runtime folder, so the result file is private to it.
class ExternalCall : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        runtime_ = dir_.filePath(QStringLiteral("run"));
        ASSERT_TRUE(QDir().mkpath(runtime_));
        QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        runtimeEnv_.emplace("XDG_RUNTIME_DIR", runtime_.toLocal8Bit());
    }

    // An executable shell script standing in for the optimizer.
    QString script(const QString& name, const QByteArray& body) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(wf::test::writeScript(path, body));
        return path;
    }
    ExternalSettings settings(const QString& program, std::chrono::milliseconds timeout = 20s) {
        return wf::test::optimizerAt(program, timeout);
    }
    QString dataPath() const { return dir_.filePath(QStringLiteral("fleet data.txt")); }

    QTemporaryDir dir_;
    QString runtime_;
    std::optional<wf::test::EnvScope> runtimeEnv_;
};

TEST_F(ExternalCall, ResultFileLivesInThePrivateRuntimeFolder) {
    EXPECT_EQ(QFileInfo(wf::resultFilePath()).absolutePath(),
              QFileInfo(runtime_).absoluteFilePath());
    EXPECT_EQ(QFileInfo(wf::resultFilePath()).fileName(), QStringLiteral("optymum.txt"));
}

// The last-resort folder was once taken as it was found, whoever had made it.
TEST_F(ExternalCall, AnOpenLastResortFolderIsNotUsed) {
    qunsetenv("XDG_RUNTIME_DIR");
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", dir_.path().toLocal8Bit());
    const QString shared = dir_.filePath(QStringLiteral("weibflow-runtime-%1").arg(::getuid()));
    const QString lastResort =
        shared + QStringLiteral("-%1").arg(QCoreApplication::applicationPid());
    for (const QString& d : {shared, lastResort}) {
        ASSERT_TRUE(QDir().mkpath(d));
        QFile::setPermissions(d, QFileDevice::Permissions(0x7777));
    }
    const QFileInfo used(QFileInfo(wf::resultFilePath()).absolutePath());
    qputenv("TMPDIR", oldTmp);
    EXPECT_NE(used.absoluteFilePath(), QFileInfo(lastResort).absoluteFilePath());
    EXPECT_NE(used.absoluteFilePath(), QFileInfo(shared).absoluteFilePath());
    EXPECT_EQ(used.ownerId(), ::getuid());
    EXPECT_EQ(used.permissions() &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFileDevice::Permissions());
}

TEST_F(ExternalCall, KnownResultIsReadBack) {
    const QString prog = script(QStringLiteral("good.sh"),
                                "printf '1.85\\n12000.5\\n1.2\\n' > \"$WEIBFLOW_RESULT_FILE\"");
    const ExternalResult r = wf::runExternalOptimizer(dataPath(), settings(prog));
    ASSERT_EQ(r.end.how, Termination::Done) << r.end.message.toStdString();
    EXPECT_DOUBLE_EQ(r.A, 1.85);
    EXPECT_DOUBLE_EQ(r.B, 12000.5);
    EXPECT_DOUBLE_EQ(r.K, 1.2);
    EXPECT_TRUE(r.end.message.isEmpty());
}

TEST_F(ExternalCall, PathWithSpacesIsOneArgument) {
    const QString seen = dir_.filePath(QStringLiteral("args.txt"));
    const QString prog = script(QStringLiteral("args.sh"),
                                "printf '%s\\n%s\\n' \"$#\" \"$1\" > '" + seen.toLocal8Bit() +
                                    "'\nprintf '1\\n2\\n3\\n' > \"$WEIBFLOW_RESULT_FILE\"");
    const ExternalResult r = wf::runExternalOptimizer(dataPath(), settings(prog));
    ASSERT_EQ(r.end.how, Termination::Done) << r.end.message.toStdString();
    QFile f(seen);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLocal8Bit(f.readAll()), QStringLiteral("1\n") + dataPath() + "\n");
}

TEST_F(ExternalCall, NonZeroExitShowsTheOptimizersOwnMessage) {
    const QString prog =
        script(QStringLiteral("three.sh"), "printf '1\\n2\\n3\\n' > \"$WEIBFLOW_RESULT_FILE\"\n"
                                           "echo 'файл не прочитан' >&2\nexit 3");
    const ExternalResult r = wf::runExternalOptimizer(dataPath(), settings(prog));
    EXPECT_EQ(r.problem, ExternalResult::Problem::NonZeroExit);
    EXPECT_TRUE(r.end.message.contains(QStringLiteral("код 3"))) << r.end.message.toStdString();
    EXPECT_TRUE(r.end.message.contains(QStringLiteral("файл не прочитан")));
}

TEST_F(ExternalCall, AChattyOptimizerLeavesOnlyTheTailOfItsMessage) {
    const QString prog =
        script(QStringLiteral("chatty.sh"), "yes 'noise noise noise' | head -c 300000 >&2\n"
                                            "echo 'последняя строка' >&2\nexit 2");
    const ExternalResult r = wf::runExternalOptimizer(dataPath(), settings(prog));
    EXPECT_EQ(r.problem, ExternalResult::Problem::NonZeroExit);
    EXPECT_TRUE(r.end.message.contains(QStringLiteral("последняя строка")));
    EXPECT_LT(r.end.message.size(), 2200);
}

TEST_F(ExternalCall, StaleResultIsNeverTakenForANewOne) {
    {
        QFile stale(wf::resultFilePath());
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("1\n2\n3\n");
    }
    const QString prog = script(QStringLiteral("silent.sh"), "exit 0");
    const ExternalResult r = wf::runExternalOptimizer(dataPath(), settings(prog));
    EXPECT_EQ(r.problem, ExternalResult::Problem::NoResultFile);
    EXPECT_TRUE(r.end.message.contains(wf::resultFilePath()));
    EXPECT_FALSE(QFileInfo::exists(wf::resultFilePath()));
}

TEST_F(ExternalCall, BadResultNamesTheLine) {
    const QString prog =
        script(QStringLiteral("two.sh"), "printf '1.85\\n12000.5\\n' > \"$WEIBFLOW_RESULT_FILE\"");
    const ExternalResult r = wf::runExternalOptimizer(dataPath(), settings(prog));
    EXPECT_EQ(r.problem, ExternalResult::Problem::BadResult);
    EXPECT_TRUE(r.end.message.contains(QStringLiteral("№3"))) << r.end.message.toStdString();
}

TEST_F(ExternalCall, StartFailures) {
    const ExternalResult missing =
        wf::runExternalOptimizer(dataPath(), settings(dir_.filePath(QStringLiteral("none"))));
    EXPECT_EQ(missing.problem, ExternalResult::Problem::StartFailed);
    EXPECT_TRUE(missing.end.message.contains(dir_.filePath(QStringLiteral("none"))));

    const QString plain = dir_.filePath(QStringLiteral("not-executable.sh"));
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\nexit 0\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(wf::runExternalOptimizer(dataPath(), settings(plain)).problem,
              ExternalResult::Problem::StartFailed);
    EXPECT_EQ(wf::runExternalOptimizer(dataPath(), settings(QString())).problem,
              ExternalResult::Problem::StartFailed);
}

TEST_F(ExternalCall, CrashIsReported) {
    const QString prog = script(QStringLiteral("crash.sh"),
                                "printf '1\\n2\\n3\\n' > \"$WEIBFLOW_RESULT_FILE\"\nkill -SEGV $$");
    const ExternalResult r = wf::runExternalOptimizer(dataPath(), settings(prog));
    EXPECT_EQ(r.problem, ExternalResult::Problem::Crashed);
    EXPECT_FALSE(r.end.message.isEmpty());
}

TEST_F(ExternalCall, CancelStopsAHangingOptimizerAndItsChildren) {
    const QString pidFile = dir_.filePath(QStringLiteral("child.pid"));
    const QString prog = script(QStringLiteral("hang.sh"),
                                "sleep 30 &\necho $! > '" + pidFile.toLocal8Bit() + "'\nwait");
    int asked = 0;
    QElapsedTimer t;
    t.start();
    const ExternalResult r =
        wf::runExternalOptimizer(dataPath(), settings(prog), [&](const wf::Progress&) {
            return ++asked < 6 || !QFileInfo::exists(pidFile);
        });
    EXPECT_EQ(r.end.how, Termination::Cancelled);
    EXPECT_FALSE(r.end.message.isEmpty());
    // Far below the 30 s of the hanging child; a generous bound for a loaded machine.
    EXPECT_LT(t.elapsed(), 10'000);
    QFile f(pidFile);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const pid_t child = static_cast<pid_t>(f.readAll().trimmed().toLongLong());
    ASSERT_GT(child, 0);
    // The killed child is reaped by its new parent a moment later; until then it may
    // linger as a zombie, which has ended all the same.
    auto ended = [child] {
        if (::kill(child, 0) != 0) return true;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(child));
        return stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z ");
    };
    bool gone = ended();
    for (int i = 0; i < 100 && !gone; ++i) {
        std::this_thread::sleep_for(20ms);
        gone = ended();
    }
    EXPECT_TRUE(gone);
}

TEST_F(ExternalCall, TimeoutStopsAHangingOptimizer) {
    const QString prog = script(QStringLiteral("sleep.sh"), "sleep 30");
    QElapsedTimer t;
    t.start();
    const ExternalResult r = wf::runExternalOptimizer(dataPath(), settings(prog, 200ms));
    EXPECT_EQ(r.end.how, Termination::LimitReached);
    EXPECT_FALSE(r.end.message.isEmpty());
    EXPECT_LT(t.elapsed(), 10'000);
}

TEST(ExternalSettingsFile, DefaultsAndOverrides) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ExternalSettings none = wf::readExternalSettings(dir.filePath(QStringLiteral("no.ini")));
    EXPECT_EQ(none.optimizerPath, wf::defaultOptimizerPath());
    EXPECT_EQ(none.timeout, std::chrono::milliseconds(10 * 60 * 1000));
    EXPECT_TRUE(wf::defaultOptimizerPath().endsWith(QStringLiteral("/weibflow-optimizer")));

    const QString ini = dir.filePath(QStringLiteral("rel.txt"));
    auto write = [&](const QByteArray& text) {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    };
    write("[Path]\nComStr=/x/y.txt\n[Optimizer]\nPath=/opt/fit/my optimizer\nTimeoutMinutes=0.5\n");
    ExternalSettings s = wf::readExternalSettings(ini);
    EXPECT_EQ(s.optimizerPath, QStringLiteral("/opt/fit/my optimizer"));
    EXPECT_EQ(s.timeout, std::chrono::milliseconds(30'000));

    write("[Optimizer]\nPath=tools/opt\nTimeoutMinutes=abc\n");
    s = wf::readExternalSettings(ini);
    EXPECT_EQ(s.optimizerPath,
              QFileInfo(wf::defaultOptimizerPath()).absolutePath() + QStringLiteral("/tools/opt"));
    EXPECT_EQ(s.timeout, std::chrono::milliseconds(10 * 60 * 1000));

    write("[Optimizer]\nTimeoutMinutes=-3\n");
    EXPECT_EQ(wf::readExternalSettings(ini).timeout, std::chrono::milliseconds(10 * 60 * 1000));
}

} // namespace
