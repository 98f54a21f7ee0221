#pragma once
// Where the external optimizer is and how long it may take: the settings file's
// "Optimizer" section over the defaults.

#include <QString>

#include <chrono>

namespace wf {

struct ExternalSettings {
    // Default: weibflow-optimizer next to the program, unless the settings file names
    // another (section "Optimizer", key "Path").
    QString optimizerPath;
    // Settings file section "Optimizer", key "TimeoutMinutes", default 10.
    std::chrono::milliseconds timeout{10 * 60 * 1000};
};

// Reads the optimizer settings from settingsFilePath() (INI); defaults where missing or bad.
ExternalSettings readExternalSettings();
// The same from a given INI file. A relative Path is taken next to the program; a
// TimeoutMinutes that is not a positive number (at most a week) keeps the default.
ExternalSettings readExternalSettings(const QString& iniPath);

// The optimizer program next to our own executable.
QString defaultOptimizerPath();

} // namespace wf
