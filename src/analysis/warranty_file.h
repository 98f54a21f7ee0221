#pragma once
// The warranty end-time file: one time per line after a comment; its count, mean and
// sample standard deviation become the warranty inputs of the next calculation run.

#include "analysis/state.h"
#include "core/job_end.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace wf {

struct WarrantyFields {
    QString fileText;     // the file's path as shown
    QString caption;      // the file's comment line
    QString count;        // number of warranty end times
    QString mean, sd;     // their mean and SD, h
    QString warrantyMean; // the same mean and SD for the main fields
    QString warrantySd;
};

struct WarrantyResult {
    // Done: statistics computed and fields filled; Refused: the last message says why.
    JobEnd end{Termination::Refused, {}};
    int count = 0;
    QStringList messages;
    WarrantyFields fields; // only meaningful where ok (fileText always)
};

// Reads the file into `state`: clears the five Executed flags and sets Dannye_Gotovy once
// the file opens, then replaces Kommentarij, Vremena_Gar, Sred_Gar and SKO_Gar when at
// least two times were read and every line held a number. A file that does not open
// clears Dannye_Gotovy; an empty path (nothing chosen yet) changes nothing.
WarrantyResult ReadWarrantyFile(AnalysisState& state, const QString& path);

// The path shortened for the file field: drive, ":\..\", file name; without a drive letter the
// first folder, "/../" and the file name.
QString abbreviatedWarrantyPath(const QString& path);

} // namespace wf
