#pragma once
// A bundled sample loaded as the program loads it, for GoogleTest tests: the test fails
// when the file cannot be read or parsed.

#include "analysis/failure_file.h"
#include "files.h"

#include <gtest/gtest.h>

namespace wf::test {

inline AnalysisState loaded(const char* name) {
    QFile f(samplePath(QString::fromLatin1(name)));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    AnalysisState s;
    EXPECT_TRUE(parseFailureFile(s, f.readAll(), f.fileName()).end.done());
    return s;
}

} // namespace wf::test
