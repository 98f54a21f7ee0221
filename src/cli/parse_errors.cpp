#include "cli/parse_errors.h"

#include "format/messages.h"

#include <QRegularExpression>
#include <QStringList>

#include <CLI/CLI.hpp>

#include <algorithm>

namespace wf::cli {
namespace {

using Match = QRegularExpressionMatch;

struct Rule {
    bool (*is)(const CLI::Error&);
    const char* pattern; // CLI11's wording of that error
    QString (*say)(const Match&, const CLI::App&);
};

// By type: some errors carry the name of the subcommand where others carry their kind.
template <class E> bool isA(const CLI::Error& e) {
    return dynamic_cast<const E*>(&e) != nullptr;
}

QString commandNames(const CLI::App& app) {
    QStringList names;
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
        names << QString::fromStdString(sub->get_name());
    return names.join(QStringLiteral(", "));
}

const Rule kRules[] = {
    {isA<CLI::RequiredError>, "^A subcommand is required$",
     [](const Match&, const CLI::App& app) { return msg::cliNoCommand(commandNames(app)); }},
    {isA<CLI::RequiredError>, "^(.+) is required$",
     [](const Match& m, const CLI::App&) { return msg::cliRequired(m.captured(1)); }},
    {isA<CLI::ExtrasError>, "^The following arguments? (?:was|were) not expected: (.*)$",
     [](const Match& m, const CLI::App&) {
         // CLI11 lists them last first.
         QStringList args = m.captured(1).split(QLatin1Char(' '));
         std::reverse(args.begin(), args.end());
         return msg::cliExtras(args.join(QLatin1Char(' ')), args.size() > 1);
     }},
    {isA<CLI::ConversionError>, "^Could not convert: (.+?) = (.*)$",
     [](const Match& m, const CLI::App&) {
         return msg::cliBadValue(m.captured(1), m.captured(2));
     }},
    {isA<CLI::ConversionError>, "^The value (.*) is not an allowed value for (.+)$",
     [](const Match& m, const CLI::App&) {
         return msg::cliBadValue(m.captured(2), m.captured(1));
     }},
    {isA<CLI::ConversionError>, "^(.+): too many inputs for a flag$",
     [](const Match& m, const CLI::App&) { return msg::cliFlagValue(m.captured(1)); }},
    // The checks of ours already say it in Russian.
    {isA<CLI::ValidationError>, "^(.+?): (.*)$",
     [](const Match& m, const CLI::App&) { return m.captured(0); }},
    {isA<CLI::ArgumentMismatch>, "^(.+): \\d+ required \\S+ missing$",
     [](const Match& m, const CLI::App&) { return msg::cliNoValue(m.captured(1)); }},
    {isA<CLI::ArgumentMismatch>, "^(.+): At Most (\\d+) required but received \\d+$",
     [](const Match& m, const CLI::App&) {
         return msg::cliTooManyValues(m.captured(1), m.captured(2));
     }},
    {isA<CLI::ArgumentMismatch>, "^(.+): At least (\\d+) required but received \\d+$",
     [](const Match& m, const CLI::App&) {
         return msg::cliTooFewValues(m.captured(1), m.captured(2));
     }},
    {isA<CLI::RequiresError>, "^(.+) requires (.+)$",
     [](const Match& m, const CLI::App&) {
         return msg::cliRequires(m.captured(1), m.captured(2));
     }},
    {isA<CLI::ExcludesError>, "^(.+) excludes (.+)$",
     [](const Match& m, const CLI::App&) {
         return msg::cliExcludes(m.captured(1), m.captured(2));
     }},
};

} // namespace

QString parseErrorText(const CLI::Error& e, const CLI::App& app) {
    const QString text = QString::fromStdString(e.what());
    for (const Rule& r : kRules) {
        if (!r.is(e)) continue;
        const Match m = QRegularExpression(QString::fromLatin1(r.pattern)).match(text);
        if (m.hasMatch()) return r.say(m, app);
    }
    return msg::cliBadCommandLine;
}

} // namespace wf::cli
