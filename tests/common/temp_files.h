#pragma once
// Files in a private temporary folder that goes away with the test (GoogleTest checks).

#include "files.h"
#include "gtest_qstring.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace wf::test {

class TempFiles {
public:
    TempFiles() { EXPECT_TRUE(dir_.isValid()); }
    // Writes `bytes` under `name` in the folder and gives the file's path.
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(writeFile(path, bytes)) << path.toStdString();
        return path;
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace wf::test
