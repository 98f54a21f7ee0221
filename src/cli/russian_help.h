#pragma once
// weibflow-cli's help in Russian: headings, value kinds and the help flag, with the
// description column placed by characters so Cyrillic names do not shift it.

namespace CLI {
class App;
}

namespace wf::cli {

// Call before adding options and subcommands: subcommands copy the formatter and the help
// flag from `app` when they are made.
void useRussianHelp(CLI::App& app);

} // namespace wf::cli
