#pragma once
// Every text the program shows in a message box or writes to the log, defined once.

#include <QString>

namespace wf::msg {

// Number conversion, naming the offending text.
inline QString notANumber(const QString& text) {
    return QStringLiteral("«%1» не является допустимым числом").arg(text);
}
inline QString notAnInteger(const QString& text) {
    return QStringLiteral("«%1» не является допустимым целым числом").arg(text);
}

// Failure data file.
inline QString badFailureLine(int lineNo, const QString& path) {
    return QStringLiteral("Ошибка в строке №") + QString::number(lineNo) +
           QStringLiteral(" файла ") + path + QStringLiteral(", исправьте)");
}
inline const QString fileDoesNotExist = QStringLiteral("Указанный файл не существует");
inline const QString noDataPath = QStringLiteral("Не указан путь к файлу исходных данных");

// Distribution guard.
inline const QString intervalGuard = QStringLiteral("Параметры должны быть t2>t1");
inline const QString intervalGuardCaption = QStringLiteral("Tevmak");

// Genetic algorithm.
inline const QString exceptionalSituation = QStringLiteral("Исключительная ситуация!");
inline const QString copyingBest = QStringLiteral("Копирование лучших");

} // namespace wf::msg
