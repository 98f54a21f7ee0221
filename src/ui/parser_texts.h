#pragma once
// QCommandLineParser's own texts (the usage line, its headings, its parse errors) in
// Russian whatever the locale: Qt asks the installed translators for them.

#include <QTranslator>

namespace wf::ui {

class ParserTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    // The Russian text for one of QCommandLineParser's, else a null string.
    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override { return false; }
};

} // namespace wf::ui
