#include "IniFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using orv::IniFile;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString write(const QByteArray& content) {
        const QString path = m_dir.filePath(QStringLiteral("System_Control.ini"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }
    static QByteArray contentOf(const QString& path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    QTemporaryDir m_dir;
};

TEST_F(IniFileTest, SectionsAndKeysIgnoreLetterCaseAndMissingKeysAreEmpty) {
    IniFile ini(write("; deployed by IT\r\n[Sql_config]\r\nServer = db01 \r\n[upControl]\r\nversion=4\r\n"));
    EXPECT_EQ(ini.readString("SQL_CONFIG", "server"), "db01");
    EXPECT_EQ(ini.readString("upcontrol", "VERSION"), "4");
    EXPECT_EQ(ini.readString("upControl", "Upname"), "");
    EXPECT_EQ(ini.readString("Nowhere", "x", "fallback"), "fallback");
    EXPECT_TRUE(ini.valueExists("UPCONTROL", "Version"));
    EXPECT_FALSE(ini.valueExists("upControl", "zkteco"));
}

TEST_F(IniFileTest, IntegersFallBackWhenNotWholeNumbers) {
    IniFile ini(write("[Control]\nTop=120\nLeft=abc\nWidth=\n"));
    EXPECT_EQ(ini.readInteger("Control", "Top", -1), 120);
    EXPECT_EQ(ini.readInteger("Control", "Left", -1), -1);
    EXPECT_EQ(ini.readInteger("Control", "Width", -1), -1);
    EXPECT_EQ(ini.readInteger("Control", "Height", -1), -1);
}

TEST_F(IniFileTest, HighBytesSurviveReadAndRewrite) {
    QByteArray raw;
    for (int b = 0x80; b <= 0xFF; ++b)
        raw.append(static_cast<char>(b));
    IniFile ini(write("[Sql_config]\nPassword=" + raw + "\n1=77\n"));
    EXPECT_EQ(ini.readBytes("Sql_config", "Password"), raw);
    EXPECT_EQ(ini.readString("Sql_config", "Password").toLatin1(), raw);

    ini.writeString("Sql_config", "1", "78"); // rewriting another key keeps the bytes
    EXPECT_EQ(ini.readBytes("Sql_config", "Password"), raw);
    ini.writeString("Sql_config", "Password", QString::fromLatin1(raw));
    EXPECT_EQ(ini.readBytes("Sql_config", "Password"), raw);
}

TEST_F(IniFileTest, WritesKeepEveryOtherLineAndTheLineEnds) {
    const QByteArray before = "; comment kept\r\n[Control]\r\nTop=5\r\n\r\n[upControl]\r\nversion=4\r\n";
    const QString path = write(before);
    IniFile ini(path);
    ini.writeString("control", "TOP", "9");
    ini.writeString("Control", "SkinName", "Flat Box (internal)");
    ini.writeString("upControl", "versionup", "5");
    ini.writeString("New", "Key", "v");
    EXPECT_EQ(contentOf(path), "; comment kept\r\n[Control]\r\nTop=9\r\nSkinName=Flat Box (internal)\r\n\r\n"
                               "[upControl]\r\nversion=4\r\nversionup=5\r\n\r\n[New]\r\nKey=v\r\n");
}

TEST_F(IniFileTest, WriteIsAtomicAndCreatesMissingFile) {
    const QString path = m_dir.filePath("fresh.ini");
    IniFile ini(path);
    EXPECT_FALSE(ini.exists());
    ini.writeString("upControl", "zkteco", "yes");
    EXPECT_EQ(contentOf(path), "[upControl]\nzkteco=yes\n");
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"fresh.ini"});
}

TEST_F(IniFileTest, UnwritableFileIsAClearError) {
    IniFile ini(m_dir.filePath("missing-folder/System_Control.ini"));
    try {
        ini.writeString("a", "b", "c");
        FAIL() << "expected an error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("missing-folder/System_Control.ini"), std::string::npos);
    }
}

} // namespace
