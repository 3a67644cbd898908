#include "IniFile.h"
#include "fixtures/TestDatabase.h"
#include "fixtures/TestEnvironment.h"
#include "platform/ProgramLink.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

using namespace orv;

namespace {

bool waitFor(const std::function<bool()>& condition, int ms = 15000) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > ms)
            return false;
        QThread::msleep(50);
    }
    return true;
}

// Two real copies of the program in one installation folder.
TEST(SingleInstance, SecondStartRestoresTheFirstAndEnds) {
    QTemporaryDir install;
    const QString program = install.filePath("orvanta");
    ASSERT_TRUE(QFile::copy(test::binDir() + "/orvanta", program));
    test::TestDatabase database;
    test::writeSettingsFile(install.path(), database.settings());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted());

    const platform::ProgramFinder finder(install.path());
    ASSERT_TRUE(waitFor([&] { return finder.exists("TMainForm", "Orvanta"); }));
    // Found by the executable's name, any case (announced just after the main window).
    EXPECT_TRUE(waitFor([&] { return finder.exists("TApplication", "ORVANTA"); }, 5000));
    ASSERT_TRUE(finder.send("TMainForm", "Orvanta", platform::ProgramCommand::Minimise));
    ASSERT_TRUE(waitFor([&] { return finder.state("TMainForm", "Orvanta") == "minimised"; }, 5000));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(waitFor([&] { return finder.state("TMainForm", "Orvanta") == "normal"; }, 5000));
    EXPECT_EQ(first.state(), QProcess::Running);

    // A close request runs the close steps: the placement is saved.
    ASSERT_TRUE(finder.send("TMainForm", "Orvanta", platform::ProgramCommand::Close));
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_TRUE(IniFile(install.filePath("System_Control.ini")).valueExists("Control", "SkinActive"));
    EXPECT_FALSE(finder.exists("TMainForm", "Orvanta"));
}

} // namespace
