#include "ui/parser_texts.h"

#include "format/messages.h"

#include <utility>

namespace wf::ui {

QString ParserTexts::translate(const char* context, const char* sourceText, const char*,
                               int) const {
    if (qstrcmp(context, "QCommandLineParser") != 0) return {};
    // Qt 6.4's wording of them.
    static const std::pair<const char*, const QString*> kTexts[] = {
        {"Usage: %1", &msg::parserUsage},
        {"[options]", &msg::parserOptionsBadge},
        {"Options:", &msg::parserOptions},
        {"Arguments:", &msg::parserArguments},
        {"Unknown option '%1'.", &msg::parserUnknownOption},
        {"Unknown options: %1.", &msg::parserUnknownOptions},
        {"Missing value after '%1'.", &msg::parserMissingValue},
        {"Unexpected value after '%1'.", &msg::parserUnexpectedValue},
    };
    for (const auto& [english, russian] : kTexts)
        if (qstrcmp(sourceText, english) == 0) return *russian;
    return {};
}

} // namespace wf::ui
