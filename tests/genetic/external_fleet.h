#pragma once
// A failure data file drawn from a known model: every product fails Poisson(K) times over
// its Weibull(A, B) life and each failure is seen only while the product is still under
// warranty (its exit time is normal with mean Sred and SD SKO). Shared by the external
// optimizer tests and benchmark.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace wf::testfleet {

struct Truth {
    double A = 1.5, B = 3000, K = 0.5;
    double Park = 2000, Sred = 2500, SKO = 600;
    std::uint64_t seed = 1;
};

// A bundled data file's bytes.
inline QByteArray readSample(const char* name) {
    QFile f(QStringLiteral(WEIBFLOW_SOURCE_DIR "/data/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QByteArray makeFleetFile(const Truth& t, const QByteArray& comment = "generated fleet") {
    std::mt19937_64 rng(t.seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::normal_distribution<double> exitTime(t.Sred, t.SKO);
    std::poisson_distribution<int> repeats(t.K);
    static const char* const causes[] = {"sensor", "pump", "valve"};
    std::vector<QByteArray> lines;
    for (long p = 0; p < static_cast<long>(t.Park); ++p) {
        const double leaves = exitTime(rng);
        const int n = repeats(rng);
        for (int i = 0; i < n; ++i) {
            const double time = t.B * std::pow(-std::log(1.0 - u(rng)), 1.0 / t.A);
            if (time >= 1.0 && time < leaves) {
                const char* c = causes[lines.size() % 3];
                lines.push_back(QByteArray::number(time, 'f', 1) + '\t' + c +
                                " failure of the unit * seen in service");
            }
        }
    }
    QByteArray out = comment + "\r\n";
    out += QByteArray::number(t.Sred, 'g', 10) + "\r\n";
    out += QByteArray::number(t.SKO, 'g', 10) + "\r\n";
    out += QByteArray::number(t.Park, 'g', 10) + "\r\n";
    out += QByteArray::number(static_cast<qint64>(lines.size())) + "\r\n3\r\n";
    for (const char* c : causes) out += QByteArray(c) + "\r\n";
    for (const QByteArray& l : lines) out += l + "\r\n";
    return out;
}

} // namespace wf::testfleet
