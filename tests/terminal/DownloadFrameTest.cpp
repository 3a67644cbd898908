#include "TcpListener.h"
#include "ZkSimulator.h"

#include "IniFile.h"
#include "data/Background.h"
#include "data/DataCon.h"
#include "data/Session.h"
#include "devices/DownloadAttFrame.h"
#include "fixtures/ScriptedDialogs.h"
#include "fixtures/TestDatabase.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orv;
using orv::sim::SimulatorOptions;
using orv::sim::SimulatorState;
using orv::sim::ZkSimulator;

namespace {

class DownloadFrameTest : public orv::test::DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        SimulatorOptions options;
        options.chunkPauseMs = 0;
        m_sim = std::make_unique<ZkSimulator>(options);
        m_sim->start();
        int deadPort = 0;
        {
            TcpListener probe("127.0.0.1", 0);
            deadPort = probe.port();
        }
        database().exec(
            QStringLiteral("INSERT INTO offices(officeid, off_name) VALUES (1, 'Accounting'), (2, "
                           "'Budget');"
                           "INSERT INTO zkteco_devices VALUES (1, '127.0.0.1', %1, 1), "
                           "(2, '127.0.0.1', %2, 1);")
                .arg(m_sim->port())
                .arg(deadPort));
        m_ini = std::make_unique<IniFile>(m_dir.filePath("System_Control.ini"));
        m_context = std::make_unique<FrameContext>(FrameContext{db(), m_session, *m_ini});
        m_frame = std::make_unique<TDownloadAtt_Frames>(*m_context, nullptr);
        m_frame->AfterCreation();
        m_frame->show();
        setUnhandledErrorHandler([this](const QString& m) { errors << m; });
    }
    void TearDown() override {
        setUnhandledErrorHandler({});
        m_frame.reset();
        DatabaseTest::TearDown();
    }

    template <class W> W* find(const char* name) {
        W* w = m_frame->findChild<W*>(name);
        EXPECT_TRUE(w) << name;
        return w;
    }
    QComboBox* devices() { return find<QComboBox>("sComboBox1"); }
    QPushButton* connectButton() { return find<QPushButton>("sButton1"); }
    QPushButton* downloadButton() { return find<QPushButton>("sButton2"); }
    QString status() { return find<QLabel>("sLabel2")->text(); }
    QPlainTextEdit* log() { return find<QPlainTextEdit>("sMemo1"); }
    QProgressBar* progress() { return find<QProgressBar>("sProgressBar1"); }

    void connectTo(const QString& office) {
        devices()->setCurrentIndex(devices()->findText(office));
        const size_t before = dialogs.shown().size();
        QTest::mouseClick(connectButton(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.shown().size() > before; }, 10000));
    }
    void download() {
        QTest::mouseClick(downloadButton(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return downloadButton()->isEnabled(); }, 20000));
        QCoreApplication::processEvents();
    }

    ZkSimulator& sim() { return *m_sim; }
    orv::test::ScriptedDialogs dialogs;
    QStringList errors;

private:
    std::unique_ptr<ZkSimulator> m_sim;
    QTemporaryDir m_dir;
    std::unique_ptr<IniFile> m_ini;
    Session m_session;
    std::unique_ptr<FrameContext> m_context;
    std::unique_ptr<TDownloadAtt_Frames> m_frame;
};

TEST_F(DownloadFrameTest, ConnectDownloadAndDownloadAnEmptyLogAgain) {
    EXPECT_EQ(devices()->count(), 2);
    EXPECT_EQ(devices()->currentText(), "");
    EXPECT_FALSE(progress()->isVisible());

    // Before a connect, the button only shows the empty progress bar.
    QTest::mouseClick(downloadButton(), Qt::LeftButton);
    EXPECT_TRUE(progress()->isVisible());
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(status(), "");

    SimulatorState state;
    state.punches.push_back({"1001", 1, 0, {2024, 3, 7, 9, 5, 2}});
    state.punches.push_back({"1002", 3, 1, {2024, 3, 7, 17, 30, 0}});
    sim().setState(state);
    connectTo("Accounting");
    EXPECT_EQ(dialogs.last().text, "You are now connected to Accounting device.");
    EXPECT_EQ(dialogs.last().caption, "Connect confirmed");
    EXPECT_EQ(dialogs.last().icon, MsgIcon::Information);
    EXPECT_FALSE(devices()->isEnabled());
    EXPECT_FALSE(connectButton()->isEnabled());

    download();
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(
        log()->toPlainText(),
        "1. Id_num :  1001  | Date :  2024-03-07  | Time : 09:05:02 | Verification Mode : finger  | Mode : "
        "check-in\n"
        "2. Id_num :  1002  | Date :  2024-03-07  | Time : 17:30:00 | Verification Mode : face  | Mode : "
        "check-out\n"
        "End...");
    EXPECT_EQ(status(), "100% attendance downloaded");
    EXPECT_FALSE(progress()->isVisible());
    EXPECT_EQ(db().query("SELECT count(*) AS n FROM attendance_read").toInt(0, "n"), 2);
    EXPECT_TRUE(sim().state().punches.empty());

    // An empty log: "End..." goes below the previous text.
    download();
    EXPECT_TRUE(log()->toPlainText().endsWith("check-out\nEnd...\nEnd..."));
    EXPECT_EQ(status(), "100% attendance downloaded");
}

TEST_F(DownloadFrameTest, UnreachableTerminalWarnsAndFreesTheDeviceList) {
    connectTo("Budget");
    EXPECT_EQ(dialogs.last().text, "Unable to connect on Budget device.");
    EXPECT_EQ(dialogs.last().caption, "Connect error");
    EXPECT_EQ(dialogs.last().icon, MsgIcon::Warning);
    EXPECT_TRUE(devices()->isEnabled());
    EXPECT_EQ(devices()->currentText(), "");
    EXPECT_TRUE(connectButton()->isEnabled());
}

TEST_F(DownloadFrameTest, FailedDownloadShowsTheErrorAndAddsNoCompletionText) {
    SimulatorState state;
    state.punches.push_back({"A-7", 1, 0, {2024, 3, 7, 9, 5, 2}});
    sim().setState(state);
    connectTo("Accounting");
    download();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.front().contains("\"A-7\"")) << errors.front().toStdString();
    EXPECT_FALSE(log()->toPlainText().contains("End..."));
    EXPECT_NE(status(), "100% attendance downloaded");
    EXPECT_EQ(sim().state().punches.size(), 1u);
}

TEST_F(DownloadFrameTest, KeysTypedIntoTheDeviceListAreDiscarded) {
    devices()->setFocus();
    QTest::keyClicks(devices(), "B");
    QTest::keyClick(devices(), Qt::Key_Down);
    EXPECT_EQ(devices()->currentText(), "");
}

} // namespace
