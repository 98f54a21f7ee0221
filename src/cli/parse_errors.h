#pragma once
// CLI11's parse errors as weibflow-cli's own Russian messages.

#include <QString>

namespace CLI {
class App;
class Error;
} // namespace CLI

namespace wf::cli {

// The message for an error `app` reported while parsing. CLI11's English text is read only
// for the names and values it carries; a text not recognised gets a general message.
QString parseErrorText(const CLI::Error& e, const CLI::App& app);

} // namespace wf::cli
