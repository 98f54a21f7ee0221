#include "analysis/settings_file.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace wf {
namespace {

TEST(SettingsFile, RoundTripOfTheLastPath) {
    const QString file = settingsFilePath();
    EXPECT_TRUE(file.endsWith(QStringLiteral("/rel.txt")));
    QFile saved(file);
    const bool had = saved.exists() && saved.open(QIODevice::ReadOnly);
    const QByteArray bytes = had ? saved.readAll() : QByteArray();
    saved.close();

    QFile::remove(file);
    EXPECT_EQ(readLastDataPath(), QString());
    const QString path = QStringLiteral("/данные/парк 7/отказы.txt");
    writeLastDataPath(path);
    EXPECT_EQ(readLastDataPath(), path);
    QFile ini(file);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray text = ini.readAll();
    EXPECT_TRUE(text.contains("[Path]"));
    EXPECT_TRUE(text.contains("ComStr="));
    ini.close();

    if (had) {
        QFile restore(file);
        ASSERT_TRUE(restore.open(QIODevice::WriteOnly | QIODevice::Truncate));
        restore.write(bytes);
    } else {
        QFile::remove(file);
    }
}

} // namespace
} // namespace wf
