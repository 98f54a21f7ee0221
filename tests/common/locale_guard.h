#pragma once
// The default locale switched for a scope and put back as it was, and the two locales the
// tests compare: a comma and a point decimal separator.

#include <QLocale>

namespace wf::test {

class LocaleScope {
public:
    explicit LocaleScope(const QLocale& l)
        : saved_(QLocale()) {
        QLocale::setDefault(l);
    }
    ~LocaleScope() { QLocale::setDefault(saved_); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QLocale saved_;
};

inline QLocale commaLocale() {
    return QLocale(QLocale::Russian, QLocale::Russia);
}
inline QLocale pointLocale() {
    return QLocale(QLocale::C);
}

} // namespace wf::test
