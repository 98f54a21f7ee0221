#pragma once
// Checks of option values with Russian messages; each shows in the help as the kind of
// value it takes.

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace wf::cli {

// A number in the user's notation or with a point; nothing for other text.
std::optional<double> readNumber(const std::string& text);

// Text readNumber reads; shown as ЧИСЛО.
CLI::Validator numberValue();

// A whole number from lo to hi; shown as "ЦЕЛОЕ lo..hi".
CLI::Validator integerIn(long long lo, long long hi);

// One of the words; shown as "a|b".
CLI::Validator oneOf(const std::vector<std::string>& words);

} // namespace wf::cli
