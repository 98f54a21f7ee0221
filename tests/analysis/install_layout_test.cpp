#include "analysis/install_layout.h"
#include "analysis/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace wf {
namespace {

QString canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

// A writable installed tree (usr/bin beside usr/share/weibflow/data), a program folder
// outside any such tree, and a config folder standing in for the user's.
struct InstalledTree : ::testing::Test {
    QTemporaryDir root;
    QString bin, data, loose, config;
    QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");

    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        bin = root.filePath(QStringLiteral("usr/bin"));
        data = root.filePath(QStringLiteral("usr/share/weibflow/data"));
        loose = root.filePath(QStringLiteral("opt/tools"));
        config = root.filePath(QStringLiteral("home/.config"));
        for (const QString& d : {bin, data, loose, config}) ASSERT_TRUE(QDir().mkpath(d));
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    }
    void TearDown() override {
        if (savedConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", savedConfig);
    }
};

TEST_F(InstalledTree, InstalledProgramFindsTheDataBesideItsBinFolder) {
    EXPECT_EQ(installedDataFolder(bin), canonical(data));
    EXPECT_EQ(sampleDataFolder(bin), canonical(data));
    // A program copied anywhere else is neither installed nor finds samples.
    EXPECT_EQ(installedDataFolder(loose), QString());
    EXPECT_EQ(sampleDataFolder(loose), QString());
    EXPECT_EQ(sampleDataFolder(QString()), QString());
}

TEST_F(InstalledTree, InstalledProgramKeepsSettingsInTheConfigFolder) {
    // Its bin folder is writable here, as /usr/bin is for root.
    EXPECT_TRUE(settingsFilePath(bin).startsWith(config + QLatin1Char('/')));
    EXPECT_TRUE(settingsFilePath(bin).endsWith(QStringLiteral("/rel.txt")));
    EXPECT_EQ(settingsFilePath(loose), QDir(loose).filePath(QStringLiteral("rel.txt")));
}

TEST(InstallLayout, BuildTreeProgramUsesTheSourceData) {
    const QString sourceData = canonical(QStringLiteral(WEIBFLOW_SOURCE_DIR "/data"));
    ASSERT_FALSE(sourceData.isEmpty());
    EXPECT_EQ(installedDataFolder(QStringLiteral(WEIBFLOW_BIN_DIR)), QString());
    EXPECT_EQ(sampleDataFolder(QStringLiteral(WEIBFLOW_BIN_DIR)), sourceData);
    // This test program itself runs from the build tree.
    EXPECT_EQ(canonical(programFolder()), canonical(QStringLiteral(WEIBFLOW_BIN_DIR)));
    EXPECT_EQ(sampleDataFolder(), sourceData);
}

} // namespace
} // namespace wf
