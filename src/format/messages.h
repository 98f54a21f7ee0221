#pragma once
// Every text the program shows in a message box or writes to the log, defined once.

#include <QString>

#include <vector>

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
// Messages beyond the few shown one by one are summed up in one box.
inline QString moreMessages(int n) {
    return QStringLiteral("Ещё сообщений об ошибках: ") + QString::number(n) +
           QStringLiteral(" (показаны первые)");
}
inline QString dataFileCannotOpen(const QString& path) {
    return QStringLiteral("Не удалось открыть файл данных ") + path;
}
inline QString dataFileTooLarge(const QString& path) {
    return QStringLiteral("Файл ") + path + QStringLiteral(" слишком велик (более 1 ГБ)");
}
inline QString dataFileEmpty(const QString& path) {
    return QStringLiteral("Файл данных ") + path + QStringLiteral(" пуст");
}
inline QString headerMissing(int lineNo, const QString& path) {
    return QStringLiteral("Файл ") + path + QStringLiteral(" закончился раньше строки №") +
           QString::number(lineNo) + QStringLiteral(": в заголовке не хватает чисел");
}
inline QString headerNotNumber(int lineNo, const QString& path, const QString& text) {
    return QStringLiteral("Ошибка в строке №") + QString::number(lineNo) +
           QStringLiteral(" файла ") + path + QStringLiteral(": «") + text +
           QStringLiteral("» не является числом");
}
inline QString headerNotWholeNumber(int lineNo, const QString& path, const QString& text) {
    return QStringLiteral("Ошибка в строке №") + QString::number(lineNo) +
           QStringLiteral(" файла ") + path + QStringLiteral(": «") + text +
           QStringLiteral("» не является целым числом");
}
inline QString fleetNotPositive(int lineNo, const QString& path) {
    return QStringLiteral("Численность парка в строке №") + QString::number(lineNo) +
           QStringLiteral(" файла ") + path + QStringLiteral(" должна быть больше нуля");
}
inline QString fleetTooLarge(int lineNo, const QString& path, const QString& limit) {
    return QStringLiteral("Численность парка в строке №") + QString::number(lineNo) +
           QStringLiteral(" файла ") + path + QStringLiteral(" больше ") + limit +
           QStringLiteral("; такой парк не обсчитать");
}
inline QString tooManyCauses(int maxCauses, const QString& path) {
    return QStringLiteral("В файле ") + path + QStringLiteral(" больше ") +
           QString::number(maxCauses) +
           QStringLiteral(" причин отказов; сократите список причин (строки до 20 символов)");
}
inline QString noFailureLines(const QString& path) {
    return QStringLiteral("В файле ") + path +
           QStringLiteral(" нет ни одной строки отказа (после списка причин нужна строка "
                          "длиннее 20 символов)");
}
inline QString utf16Text(const QString& path) {
    return QStringLiteral("Файл ") + path +
           QStringLiteral(" записан в кодировке UTF-16; сохраните его в кодировке Windows-1251 "
                          "или UTF-8");
}

// Warranty end-time file.
inline QString warrantyBadLine(int lineNo, const QString& path, const QString& text) {
    return QStringLiteral("Ошибка в строке №") + QString::number(lineNo) +
           QStringLiteral(" файла ") + path + QStringLiteral(": «") + text +
           QStringLiteral("» не является числом; данные о гарантии не изменены");
}
inline QString warrantyTooFewTimes(int count, const QString& path) {
    return QStringLiteral("В файле ") + path + QStringLiteral(" прочитано времен гарантии: ") +
           QString::number(count) +
           QStringLiteral("; для среднего и СКО нужно не меньше двух, данные о гарантии не "
                          "изменены");
}
inline QString warrantyOutOfRange(const QString& path) {
    return QStringLiteral("Времена гарантии в файле ") + path +
           QStringLiteral(" слишком велики для расчета; данные о гарантии не изменены");
}

// Distribution guard.
inline const QString intervalGuard = QStringLiteral("Параметры должны быть t2>t1");
inline const QString intervalGuardCaption = QStringLiteral("Tevmak");

// Genetic algorithm.
inline const QString exceptionalSituation = QStringLiteral("Исключительная ситуация!");
inline const QString copyingBest = QStringLiteral("Копирование лучших");
// A new best of the genetic search: objective, B, 1/A, K.
inline const QString geneticBestFormat =
    QStringLiteral(" ЦФ=%-10.5f  B=%-11.2f  A=%-10.5f   Кповт=%-9.5f");
// The genetic search's best after a local descent from it; the objective as in the best line.
inline const QString geneticPolishFormat = QStringLiteral("Локальное уточнение: ЦФ=%-10.5f");
inline const QString geneticPolishOption =
    QStringLiteral("Уточнить лучший вариант локальным поиском");
inline QString genesCreated(int n) {
    return QStringLiteral("Создано генов ") + QString::number(n);
}
// Refused genetic runs; the bounds are passed as text in the user's number format.
inline QString badAccuracy(const QString& text, const QString& low, const QString& high) {
    return QStringLiteral("«Точность подбора»: значение «%1» недопустимо, ген должен занимать "
                          "от 1 до 31 двоичного разряда (точность больше %2 и меньше %3)")
        .arg(text, low, high);
}
inline QString badPopulation(const QString& text, int low, int high) {
    return QStringLiteral("«Размер популяции»: значение «%1» недопустимо, допустимо от %2 до %3")
        .arg(text)
        .arg(low)
        .arg(high);
}
inline QString badGenerations(const QString& text) {
    return QStringLiteral("«Число поколений»: значение «%1» недопустимо, нужно не меньше 1")
        .arg(text);
}

// External optimizer.
inline const QString externalDone = QStringLiteral("Расчёт модели Golang выполнен");
inline const QString externalParamsFormat = QStringLiteral("A=%10.3f B=%10.3f K=%10.3f");
inline QString optimizerStartFailed(const QString& program) {
    return QStringLiteral("Не удалось запустить программу оптимизации «%1»").arg(program);
}
inline const QString optimizerCrashed =
    QStringLiteral("Программа оптимизации завершилась аварийно");
inline QString optimizerExitCode(int code, const QString& itsMessage) {
    QString s = QStringLiteral("Программа оптимизации завершилась с ошибкой (код %1)").arg(code);
    if (!itsMessage.isEmpty()) s += QStringLiteral(":\n") + itsMessage;
    return s;
}
inline const QString optimizerCancelled = QStringLiteral("Работа программы оптимизации прервана");
inline QString optimizerTimedOut(long long minutes) {
    return QStringLiteral("Программа оптимизации не закончила работу за %1 мин. и остановлена")
        .arg(minutes);
}
inline QString staleResultNotRemoved(const QString& path) {
    return QStringLiteral("Не удалось удалить старый файл результата «%1»").arg(path);
}
inline QString resultFileMissing(const QString& path) {
    return QStringLiteral("Программа оптимизации не записала файл результата «%1»").arg(path);
}
inline QString resultFileUnreadable(const QString& path) {
    return QStringLiteral("Не удалось прочитать файл результата «%1»").arg(path);
}
inline QString resultLineMissing(int lineNo) {
    return QStringLiteral("В файле результата нет строки №%1").arg(lineNo);
}
inline QString resultLineBad(int lineNo, const QString& text) {
    return QStringLiteral("Строка №%1 файла результата не является числом: «%2»")
        .arg(lineNo)
        .arg(text);
}
inline QString resultFileError(const QString& path, const QString& why) {
    return QStringLiteral("Файл результата «%1»: %2").arg(path, why);
}
// The optimizer program itself.
inline const QString optimizerUsage =
    QStringLiteral("Использование: weibflow-optimizer [--verbose] [--effort N] ФАЙЛ_ДАННЫХ");
inline const QString resultEnvMissing =
    QStringLiteral("Не задана переменная окружения WEIBFLOW_RESULT_FILE (путь файла результата)");
inline QString resultNotWritten(const QString& path) {
    return QStringLiteral("Не удалось записать файл результата «%1»").arg(path);
}
inline QString dataFileUnreadable(const QString& path) {
    return QStringLiteral("Не удалось прочитать файл данных «%1»").arg(path);
}
inline QString dataFileRefused(const QString& path) {
    return QStringLiteral("Файл данных «%1» не принят").arg(path);
}
inline const QString noFailuresToFit =
    QStringLiteral("В файле данных нет отказов (кроме брака), подбирать модель не по чему");
inline const QString histogramNotBuilt =
    QStringLiteral("Не удалось построить частотную диаграмму отказов");

// Deterministic fits and the calculation run.
inline const QString spiralDone =
    QStringLiteral("Расчёт модели по Пирсону методом спирального спуска выполнен за ");
inline const QString newtonDone =
    QStringLiteral("Расчёт модели по Пирсону методом Ньютона выполнен за ");
inline const QString smirnovDone = QStringLiteral("Расчёт модели по Смирнову выполнен за ");
inline const QString elapsedUnits = QStringLiteral("ч/мин/с");
inline const QString fitStepLine = QStringLiteral("Шаг=%12.10e  Sred=%10.3f SKO=%10.3f");
inline const QString confidencePrefix =
    QStringLiteral("Доверительный 95% интервал частотной диаграммы ");
inline const QString confidenceFormat = QStringLiteral("= %6.4f,  СКО= %6.4f");
inline const QString kolmogorovAccepted = QStringLiteral(" <1.3581(0.05)");
inline const QString kolmogorovRejected = QStringLiteral(" >1.3581(0.05)");
// The stage line of a calculation run until its first fit reports.
inline const QString stageCalculation = QStringLiteral("Расчет");
inline const QString stageModel11 = QStringLiteral("Модель 1.1");
inline const QString stageModel12 = QStringLiteral("Модель 1.2");
inline const QString stageModel2 = QStringLiteral("Модель 2");
// A step reduction factor must exceed 1; fieldLabel is the field's caption.
inline QString badStepFactor(const QString& fieldLabel, const QString& text) {
    return QStringLiteral("«%1»: значение «%2» недопустимо, коэффициент должен быть больше 1")
        .arg(fieldLabel, text);
}
inline const QString stepFactorLabel = QStringLiteral("Коэф-т уменьшения шага");
inline const QString stepFactorLabel11 = QStringLiteral("Коэф-т уменьшения шага модели 1.1");
inline const QString stepFactorLabel12 = QStringLiteral("Коэф-т уменьшения шага модели 1.2");
inline const QString stepFactorLabel2 = QStringLiteral("Коэф-т уменьшения шага модели 2");
inline const QString noFailuresLoaded =
    QStringLiteral("Отказы не загружены: сначала откройте файл исходных данных (кнопка «Путь»)");
inline const QString badFailureTimes = QStringLiteral(
    "Наработка отказа не является числом или больше 1E12 ч: частотная диаграмма не построена");
// A searched coordinate that ended where it started or against a bound of its search.
inline QString searchDidNotMove(const QString& model, const QString& param) {
    return QStringLiteral("Внимание: модель ") + model + QStringLiteral(", параметр ") + param +
           QStringLiteral(" не изменился от начального значения");
}
inline QString searchOnBound(const QString& model, const QString& param) {
    return QStringLiteral("Внимание: модель ") + model + QStringLiteral(", параметр ") + param +
           QStringLiteral(" на границе поиска");
}
inline const QString fitSafetyStop =
    QStringLiteral("Подбор остановлен: превышено предельное время расчёта (10 мин)");

// Maximum-likelihood model.
inline const QString mleDone =
    QStringLiteral("Расчёт модели по максимуму правдоподобия выполнен за ");
inline const QString mleLogLikelihoodFormat =
    QStringLiteral("Логарифм функции правдоподобия = %.4f");
inline const QString stageModel3 = QStringLiteral("Модель 3");
inline const QString mleOption = QStringLiteral("Модель 3 (максимум правдоподобия)");
inline const QString mleColumn = QStringLiteral("Макс. правдоподобие");
// Tooltip of the fleet-size and failure-count displays.
inline const QString fromDataFile =
    QStringLiteral("Значение из файла данных; его меняет только загрузка другого файла");
// The positions the genetic search left its sliders at, "0.18" and "0.12".
inline QString searchSliders(const QString& crossover, const QString& mutation) {
    return QStringLiteral("Поиск закончил с вероятностями скрещивания %1 и мутаций %2; "
                          "ползунки возвращены к заданным")
        .arg(crossover, mutation);
}
inline const QString mleUncensored = QStringLiteral("Макс. правдоподобие без ценз.");
// percent: "95".
inline QString mleBand(const QString& percent) {
    return QStringLiteral("Макс. правдоподобие: границы %1%").arg(percent);
}
inline const QString accumulatedFailures = QStringLiteral("Накопленные отказы");
inline const QString leastSquaresLine = QStringLiteral("Линия наименьших квадратов");
inline const QString confidenceLabel = QStringLiteral("Доверительная вероятность");
// The likelihood yardstick of the results table.
inline const QString likelihoodRow = QStringLiteral("ln L (Δ к лучшей)");
inline const QString noLikelihood = QStringLiteral("—");
// model: "1.1" or a column caption in quotes; percent: "95".
inline QString outsideLikelihoodRegion(const QString& model, const QString& percent) {
    return QStringLiteral("Модель %1 вне %2% области правдоподобия данных").arg(model, percent);
}
inline const QString boundsLabel = QStringLiteral("Границы:");
inline const QString boundsByLikelihood = QStringLiteral("по правдоподобию");
inline const QString boundsByWald = QStringLiteral("по Вальду");
inline const QString boundsUndefined = QStringLiteral("[не определены]");
inline const QString mleNotSeparable = QStringLiteral(
    "Данные не позволяют разделить параметры модели: доверительные границы не определены");
// name: "A", "B" or "K".
inline QString mleAtSearchLimit(const QString& name) {
    return QStringLiteral("Оценка параметра %1 на границе области поиска: данные не позволяют "
                          "разделить параметры модели, доверительные границы не определены")
        .arg(name);
}
// Likelihood-ratio bounds: what the data leave open. name: "A", "B" or "K".
inline QString mleEstimateOnLimit(const QString& name) {
    return QStringLiteral("Оценка параметра %1 на границе области поиска: данные определяют "
                          "его лишь с одной стороны; показатели, которые данные определяют, "
                          "получили границы по профилю правдоподобия")
        .arg(name);
}
inline QString mleOnlyLowerOnRidge(const QString& name, const QString& lower) {
    return QStringLiteral("Данные не ограничивают %1 сверху: гарантия заканчивается раньше, "
                          "чем проходит большая часть потока отказов, а по его начальной части "
                          "большие B и K неразличимы; следует только нижняя граница %1 = %2")
        .arg(name, lower);
}
inline QString mleOnlyLower(const QString& name, const QString& lower) {
    return QStringLiteral("Данные не ограничивают %1 сверху в пределах поиска: следует только "
                          "нижняя граница %1 = %2")
        .arg(name, lower);
}
inline QString mleOnlyUpper(const QString& name, const QString& upper) {
    return QStringLiteral("Данные не ограничивают %1 снизу в пределах поиска: следует только "
                          "верхняя граница %1 = %2")
        .arg(name, upper);
}
inline QString mleNotBounded(const QString& name) {
    return QStringLiteral("Данные не ограничивают %1 ни снизу, ни сверху в пределах поиска")
        .arg(name);
}
// A life the flow does not reach within the data's bounds.
inline const QString lifeUnreached = QStringLiteral("[не достигается]");
inline const QString mleNotConverged =
    QStringLiteral("Поиск максимума правдоподобия не сошёлся: доверительные границы не определены");
inline const QString fleetSizeNotPositive =
    QStringLiteral("Численность парка должна быть больше нуля: модель не подобрана");
inline QString badConfidence(const QString& text) {
    return QStringLiteral("«Доверительная вероятность»: значение «%1» недопустимо, нужно больше 0 "
                          "и меньше 1")
        .arg(text);
}

// Model 3 by cause and under another warranty law.
inline const QString causeTooFewFailures = QStringLiteral("мало отказов");
inline const QString causeKindEarly = QStringLiteral("приработочные");
inline const QString causeKindWearout = QStringLiteral("износовые");
inline const QString causeKindRandom = QStringLiteral("случайные или не различимы");
inline const QString causesTitle = QStringLiteral("Модель 3 по причинам отказов");
inline QString causesShared(int failures) {
    return QStringLiteral("Отказов, отнесённых к нескольким причинам: %1; каждый учтён в каждой "
                          "из своих причин")
        .arg(failures);
}
// The page "По причинам".
inline const QString causesButton = QStringLiteral("По причинам…");
inline const QString causesWindowTitle = QStringLiteral("По причинам");
inline const std::vector<QString> causesHeading = {QStringLiteral("Причина"),
                                                   QStringLiteral("Отказов"),
                                                   QStringLiteral("A"),
                                                   QStringLiteral("B, ч"),
                                                   QStringLiteral("K"),
                                                   QStringLiteral("На изделие за гарантию"),
                                                   QStringLiteral("Наблюдалось на изделие"),
                                                   QStringLiteral("К 2000 ч"),
                                                   QStringLiteral("К 4000 ч"),
                                                   QStringLiteral("Характер")};
inline const QString causesWholeFleet = QStringLiteral("Все причины (модель 3)");
inline const QString causesChartTitle =
    QStringLiteral("Накопленные отказы на изделие по причинам: модель 3 и данные");
inline const QString perProductAxis = QStringLiteral("Отказов на изделие");
inline QString causesRest(int causes) {
    return QStringLiteral("Остальные причины (%1)").arg(causes);
}
inline QString causeModelLegend(const QString& cause) {
    return cause + QStringLiteral(": модель 3");
}
inline QString causeObservedLegend(const QString& cause) {
    return cause + QStringLiteral(": данные");
}
inline QString whatIfColumn(const QString& mean, const QString& sd) {
    return QStringLiteral("При гарантии %1 ± %2 ч").arg(mean, sd);
}
inline const QString whatIfChangeColumn = QStringLiteral("Изменение на изделие");
inline const QString whatIfButton = QStringLiteral("Пересчитать гарантию");
inline const QString whatIfMeanLabel = QStringLiteral("Среднее время гарантии, ч");
inline const QString whatIfSdLabel = QStringLiteral("СКО времени гарантии, ч (0: постоянный срок)");
inline QString whatIfSummary(const QString& mean, const QString& sd, const QString& perProduct,
                             const QString& fleet, const QString& current,
                             const QString& observed) {
    return QStringLiteral("При гарантии %1 ± %2 ч модель 3 ожидает %3 отказа на изделие, %4 на "
                          "парк; при текущей гарантии %5 (наблюдалось %6)")
        .arg(mean, sd, perProduct, fleet, current, observed);
}
inline const QString whatIfTitle = QStringLiteral("Отказы на изделие при другом законе гарантии");
inline QString whatIfBadLaw(const QString& mean, const QString& sd) {
    return QStringLiteral("Закон гарантии: среднее %1 ч, СКО %2 ч недопустимы, нужно среднее "
                          "больше 0 и СКО не меньше 0")
        .arg(mean, sd);
}
inline const QString whatIfNoFit =
    QStringLiteral("Модель 3 не подобрана: отказы при другом законе гарантии не рассчитаны");

// Command line of both programs: what is wrong and where the help is.
inline QString usageError(const QString& program, const QString& what) {
    return QStringLiteral("Ошибка в командной строке: %1\nСправка: %2 --help").arg(what, program);
}
inline QString cliUsageError(const QString& what) {
    return usageError(QStringLiteral("weibflow-cli"), what);
}

// Help of both programs: headings, placeholders and the value kinds shown after an option.
inline const QString helpFlag = QStringLiteral("показать эту справку и выйти");
inline const QString helpUsage = QStringLiteral("Использование");
inline const QString helpOptions = QStringLiteral("Параметры");
inline const QString helpOptionsBadge = QStringLiteral("ПАРАМЕТРЫ");
inline const QString helpArguments = QStringLiteral("Аргументы");
inline const QString helpCommands = QStringLiteral("Команды");
inline const QString helpCommandBadge = QStringLiteral("КОМАНДА");
inline const QString helpRequired = QStringLiteral("ОБЯЗАТЕЛЬНЫЙ");
inline const QString helpText = QStringLiteral("ТЕКСТ");
inline const QString helpInteger = QStringLiteral("ЦЕЛОЕ");
inline const QString helpNumber = QStringLiteral("ЧИСЛО");
inline QString helpIntegerRange(long long lo, long long hi) {
    return QStringLiteral("ЦЕЛОЕ %1..%2").arg(lo).arg(hi);
}
inline const QString helpFile = QStringLiteral("ФАЙЛ");
inline const QString helpPdfFile = QStringLiteral("ФАЙЛ.pdf");
inline const QString helpList = QStringLiteral("СПИСОК");
inline const QString helpEvalCost =
    QStringLiteral("виртуальные часы: мкс на одно вычисление целевой функции");
inline const QString helpSeed = QStringLiteral("начальное значение генератора случайных чисел");

// QCommandLineParser's own texts; Qt fills in %1.
inline const QString parserUsage = QStringLiteral("Использование: %1");
inline const QString parserOptionsBadge = QStringLiteral("[ПАРАМЕТРЫ]");
inline const QString parserOptions = QStringLiteral("Параметры:");
inline const QString parserArguments = QStringLiteral("Аргументы:");
inline const QString parserUnknownOption = QStringLiteral("неизвестный параметр «%1»");
inline const QString parserUnknownOptions = QStringLiteral("неизвестные параметры: %1");
inline const QString parserMissingValue = QStringLiteral("%1: не указано значение");
inline const QString parserUnexpectedValue = QStringLiteral("%1 не принимает значения");

// weibflow's command line.
inline const QString guiFileHelp =
    QStringLiteral("файл данных об отказах, открываемый при запуске");
inline const QString guiReportHelp =
    QStringLiteral("рассчитать ФАЙЛ без окон и записать отчёт в ФАЙЛ.pdf");
inline const QString guiModelsHelp =
    QStringLiteral("модели для --report: spiral,newton,smirnov,mle,genetic,external (spiral)");

// weibflow-cli's command line: what CLI11 found wrong, named as it names it.
inline QString cliRequired(const QString& name) {
    return (name.startsWith(QLatin1Char('-'))
                ? QStringLiteral("не указан обязательный параметр %1")
                : QStringLiteral("не указан обязательный аргумент %1"))
        .arg(name);
}
inline QString cliNoCommand(const QString& commands) {
    return QStringLiteral("не указана команда (%1)").arg(commands);
}
inline QString cliExtras(const QString& args, bool several) {
    return (several ? QStringLiteral("лишние или неизвестные аргументы: %1")
                    : QStringLiteral("лишний или неизвестный аргумент: %1"))
        .arg(args);
}
inline QString cliBadValue(const QString& name, const QString& value) {
    return QStringLiteral("%1: недопустимое значение «%2»").arg(name, value);
}
inline QString cliNoValue(const QString& name) {
    return parserMissingValue.arg(name);
}
inline QString cliFlagValue(const QString& name) {
    return parserUnexpectedValue.arg(name);
}
inline QString cliTooManyValues(const QString& name, const QString& most) {
    return QStringLiteral("%1: слишком много значений (допустимо %2)").arg(name, most);
}
inline QString cliTooFewValues(const QString& name, const QString& least) {
    return QStringLiteral("%1: слишком мало значений (нужно %2)").arg(name, least);
}
inline QString cliRequires(const QString& name, const QString& other) {
    return QStringLiteral("%1 требует %2").arg(name, other);
}
inline QString cliExcludes(const QString& name, const QString& other) {
    return QStringLiteral("%1 несовместим с %2").arg(name, other);
}
inline const QString cliBadCommandLine = QStringLiteral("командная строка не разобрана");
inline QString cliOutOfRange(const QString& value, long long lo, long long hi) {
    return QStringLiteral("«%1» вне диапазона %2..%3")
        .arg(value, QString::number(lo), QString::number(hi));
}
inline QString cliNotOneOf(const QString& value, const QString& allowed) {
    return QStringLiteral("«%1» не из допустимых (%2)").arg(value, allowed);
}
inline const QString cliNeedsModelThree =
    QStringLiteral("--by-cause и --what-if-mean требуют модели 3 (--models mle)");
inline const QString cliWhatIfNeedsMean = QStringLiteral("--what-if-sd требует --what-if-mean");
inline QString cliUnknownModel(const QString& name) {
    return QStringLiteral("неизвестная модель «%1» (допустимы spiral, newton, smirnov, mle, "
                          "genetic, external)")
        .arg(name);
}
inline const QString cliCsvWithJson =
    QStringLiteral("Ключи --csv и --json несовместимы: укажите один из них");
inline const QString stageGenetic = QStringLiteral("Генетический алгоритм");
inline const QString stageExternal = QStringLiteral("Golang модуль оптимизации");
inline const QString geneticNoResult =
    QStringLiteral("Генетический алгоритм не выполнил ни одного поколения: модель не получена");

// Windows.
// Caption of a box about the field captioned `label` (a bad number, a value refused).
inline QString fieldCaption(const QString& label) {
    return QStringLiteral("Поле «%1»").arg(label);
}
// The stage line while the external optimizer runs.
inline const QString externalRunning =
    QStringLiteral("Golang модуль оптимизации: расчет (кнопка «Стоп» прерывает)");
inline const QString externalNoData = QStringLiteral(
    "Программа оптимизации закончила работу, но отказы не загружены: модель Golang не построена. "
    "Откройте файл исходных данных кнопкой «Путь» и запустите расчёт снова");
inline QString printerCannotOpen(const QString& printer) {
    return QStringLiteral("Не удалось начать печать на принтере «%1»").arg(printer);
}

// The printed report and `weibflow --report`.
inline const QString saveReportButton = QStringLiteral("Сохранить отчёт (PDF)…");
inline const QString saveReportFilter = QStringLiteral("Отчёт PDF (*.pdf)");
inline const QString reportTitle =
    QStringLiteral("Количественный анализ закона распределения отказов");
inline QString reportWhen(const QString& dateTime) {
    return QStringLiteral("Дата и время: %1").arg(dateTime);
}
inline QString reportFile(const QString& name) {
    return QStringLiteral("Файл данных: %1").arg(name);
}
inline QString reportInputs(const QString& mean, const QString& sd, const QString& burnIn) {
    return QStringLiteral("Закон ухода с гарантии: среднее %1 ч, СКО %2 ч; время приработки %3 ч")
        .arg(mean, sd, burnIn);
}
inline QString reportCannotWrite(const QString& path) {
    return QStringLiteral("Не удалось записать отчёт «%1»").arg(path);
}
// Tables saved as CSV.
inline const QString saveTableButton = QStringLiteral("Сохранить таблицу (CSV)…");
inline const QString saveProblemsButton = QStringLiteral("Сохранить таблицу отказов (CSV)…");
inline const QString saveCsvFilter = QStringLiteral("Таблица CSV (*.csv)");
inline QString tableCannotWrite(const QString& path) {
    return QStringLiteral("Не удалось записать таблицу «%1»: файл не изменён").arg(path);
}
inline const QString reportUsage =
    QStringLiteral("Использование: weibflow --report ФАЙЛ.pdf [--models СПИСОК] [--eval-cost-us N] "
                   "[--seed N] ФАЙЛ_ДАННЫХ");
inline QString reportUnknownModel(const QString& name) {
    return QStringLiteral("Неизвестная модель «%1»").arg(name);
}
inline const QString reportNoResults = QStringLiteral("Расчёт не дал результатов для отчёта");

} // namespace wf::msg
