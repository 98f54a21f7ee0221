#include "cli/russian_help.h"

#include "format/messages.h"

#include <QList>
#include <QString>

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

namespace wf::cli {
namespace {

class RussianFormatter : public CLI::Formatter {
public:
    RussianFormatter() {
        label("Usage", msg::helpUsage.toStdString());
        label("OPTIONS", msg::helpOptionsBadge.toStdString());
        label("SUBCOMMAND", msg::helpCommandBadge.toStdString());
        label("Positionals", msg::helpArguments.toStdString());
        label("Options", msg::helpOptions.toStdString());
        label("REQUIRED", msg::helpRequired.toStdString());
        label("TEXT", msg::helpText.toStdString());
        label("INT", msg::helpInteger.toStdString());
        label("UINT", msg::helpInteger.toStdString());
        label("FLOAT", msg::helpNumber.toStdString());
    }

    // CLI11 names the group of every help flag "Options", whatever the app's defaults say.
    std::string make_group(std::string group, bool positional,
                           std::vector<const CLI::Option*> opts) const override {
        return CLI::Formatter::make_group(get_label(group), positional, std::move(opts));
    }

    // As CLI11's own, with the value kind in Russian; environment names, needs and
    // excludes are not used by this program.
    std::string make_option_opts(const CLI::Option* opt) const override {
        if (!opt->get_option_text().empty()) return " " + opt->get_option_text();
        std::string out;
        if (opt->get_type_size() == 0) return out;
        const std::string type = valueKind(opt->get_type_name());
        if (!type.empty()) out += " " + type;
        if (!opt->get_default_str().empty()) out += "=" + opt->get_default_str();
        if (opt->get_expected_max() == CLI::detail::expected_max_vector_size)
            out += " ...";
        else if (opt->get_expected_min() > 1)
            out += " x " + std::to_string(opt->get_expected());
        if (opt->get_required()) out += " " + get_label("REQUIRED");
        return out;
    }

    std::string make_option(const CLI::Option* opt, bool positional) const override {
        return line(make_option_name(opt, positional) + make_option_opts(opt),
                    make_option_desc(opt));
    }
    std::string make_subcommand(const CLI::App* sub) const override {
        return line(sub->get_display_name(true), sub->get_description());
    }

private:
    // CLI11 writes "TYPE:check description"; a check of ours says the kind better
    // ("ЧИСЛО", "ЦЕЛОЕ 0..2", "lr|wald") than the type it is read into.
    std::string valueKind(const std::string& full) const {
        const std::size_t colon = full.find(':');
        return colon == std::string::npos ? get_label(full) : full.substr(colon + 1);
    }

    // The names padded by characters, not by the bytes of their UTF-8.
    std::string line(const std::string& name, const std::string& description) const {
        const std::size_t width = get_column_width();
        std::string out = "  " + name;
        const auto chars = static_cast<std::size_t>(QString::fromStdString(out).toUcs4().size());
        if (!description.empty()) {
            out +=
                chars >= width ? "\n" + std::string(width, ' ') : std::string(width - chars, ' ');
            for (const char c : description) {
                out += c;
                if (c == '\n') out += std::string(width, ' ');
            }
        }
        return out + "\n";
    }
};

} // namespace

void useRussianHelp(CLI::App& app) {
    app.formatter(std::make_shared<RussianFormatter>());
    app.set_help_flag("-h,--help", msg::helpFlag.toStdString());
    app.group(msg::helpCommands.toStdString()); // the subcommands' heading, copied by each
}

} // namespace wf::cli
