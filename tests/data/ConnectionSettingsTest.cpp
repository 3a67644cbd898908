#include "data/ConnectionSettings.h"
#include "data/Errors.h"

#include "Cipher.h"
#include "IniFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace orv;

namespace {

class ConnectionSettingsTest : public ::testing::Test {
protected:
    IniFile ini() const { return IniFile(m_dir.filePath("System_Control.ini")); }
    void put(const QString& key, const QString& value) {
        IniFile f = ini();
        f.writeString("Sql_config", key, value);
    }
    void putEnciphered(const QString& seedKey, const QString& key, const QString& plain, std::uint16_t seed) {
        put(seedKey, QString::number(seed));
        put(key, EncryptStr(plain, seed));
    }
    QTemporaryDir m_dir;
};

TEST_F(ConnectionSettingsTest, DeciphersEachValueWithItsOwnSeed) {
    putEnciphered("1", "Password", "s3cr'et", 101);
    putEnciphered("2", "Server", "localhost", 202);
    putEnciphered("3", "Database", "attendance", 303);
    const ConnectionSettings s = ConnectionSettings::fromIni(ini());
    EXPECT_EQ(s.password, "s3cr'et");
    EXPECT_EQ(s.server, "localhost");
    EXPECT_EQ(s.database, "attendance");
    EXPECT_EQ(s.port, 5432);
    EXPECT_EQ(s.user, "postgres");
    EXPECT_EQ(s.applicationName, "Orvanta");
    EXPECT_EQ(s.connectTimeoutSeconds, 50);
}

TEST_F(ConnectionSettingsTest, PortKeyOverridesTheDefault) {
    putEnciphered("1", "Password", "x", 1);
    putEnciphered("2", "Server", "db", 2);
    putEnciphered("3", "Database", "d", 3);
    put("Port", "55432");
    EXPECT_EQ(ConnectionSettings::fromIni(ini()).port, 55432);
    put("Port", "fifty");
    EXPECT_THROW(ConnectionSettings::fromIni(ini()), SettingsError);
}

TEST_F(ConnectionSettingsTest, MissingOrNonNumericSeedIsNamedInTheMessage) {
    putEnciphered("1", "Password", "x", 1);
    putEnciphered("3", "Database", "d", 3);
    put("Server", "abc");
    for (const QString& bad : {QString(), QString("12x")}) {
        if (bad.isNull())
            ini().eraseKey("Sql_config", "2");
        else
            put("2", bad);
        try {
            ConnectionSettings::fromIni(ini());
            FAIL() << "expected a settings error";
        } catch (const SettingsError& e) {
            EXPECT_TRUE(e.text().contains("\"2\"")) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains("server")) << e.text().toStdString();
        }
    }
}

} // namespace
