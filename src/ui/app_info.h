#pragma once
// Titles and the version mark shown in the window captions.

#include <QString>

namespace wf::ui {

inline QString versionMark() {
    return QStringLiteral(" v" WEIBFLOW_VERSION);
}
inline QString creditText() {
    return QStringLiteral(" (weibflow)");
}

inline QString applicationTitle() {
    return QStringLiteral("Анализ надежности") + creditText() + versionMark();
}
inline QString mainWindowCaption() {
    return QStringLiteral("Анализ надежности в эксплуатации.") + versionMark() + creditText();
}
inline QString resultsWindowCaption() {
    return QStringLiteral("Количественный анализ закона распределения отказов. Анализ "
                          "надежности в эксплуатации.") +
           versionMark();
}
inline QString logViewCaption() {
    return QStringLiteral("Анализ закона распределения отказов. Анализ надежности в "
                          "эксплуатации.") +
           versionMark();
}

} // namespace wf::ui
