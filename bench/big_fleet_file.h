#pragma once
// A failure data file of 100,000 failures over 12 causes (UTF-8, CR LF), the same bytes on
// every call, for the load benchmarks.

#include <QByteArray>
#include <QString>

#include <random>

namespace wf::bench {

inline constexpr int kBigFleetFailures = 100'000;

inline QByteArray bigFleetFile() {
    static const char* const causes[] = {"Датчик давления", "Топливный насос", "Генератор",
                                         "Стартер",         "Термостат",       "Блок управления",
                                         "Водяной насос",   "Ремень привода",  "Форсунка",
                                         "Радиатор",        "Электропроводка", "Турбокомпрессор"};
    std::mt19937 rng(7);
    std::weibull_distribution<double> life(1.3, 6000.0);
    std::uniform_int_distribution<int> pick(0, 13);
    QString text = QStringLiteral("Большой парк\r\n3000\r\n800\r\n300000\r\n100000\r\n12\r\n");
    for (const char* c : causes) text += QString::fromUtf8(c) + QStringLiteral("\r\n");
    for (int i = 0; i < kBigFleetFailures; ++i) {
        const int c = pick(rng);
        const QString cause = c < 12
                                  ? QString::fromUtf8(causes[c]).toLower() + QStringLiteral(" узла")
                                  : QStringLiteral("прочие неисправности");
        text += QString::number(life(rng), 'f', 1) + QLatin1Char('\t') + cause +
                QStringLiteral(" * описание отказа номер ") + QString::number(i) +
                QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

} // namespace wf::bench
