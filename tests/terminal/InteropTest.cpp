// An independent public client of the terminal protocol (node-zklib from the
// npm registry, run with the machine's Node.js) reads the simulator. What it
// reads must be what the simulator holds: the simulator then speaks the
// protocol that real terminals speak to that client.
#include "ZkSimulator.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

using namespace orv::sim;

namespace {

QString moduleFolder() {
    QString cache = qEnvironmentVariable("ORV_NPM_CACHE");
    if (cache.isEmpty())
        cache = QDir::home().filePath(".cache/orvanta/npm");
    return QDir(cache).filePath("node_modules");
}

// Runs the reader script against port; fails the test with the reason when
// Node.js or node-zklib is missing or the client fails.
QJsonObject readWithNode(int port, bool clear) {
    const QString modules = moduleFolder();
    if (!QFileInfo::exists(QDir(modules).filePath("node-zklib/package.json"))) {
        ADD_FAILURE() << "node-zklib is not installed in " << modules.toStdString()
                      << ": ./test.sh installs it with npm (is the npm registry reachable?)";
        return {};
    }
    QProcess node;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("NODE_PATH", modules);
    node.setProcessEnvironment(env);
    QStringList args{ORV_INTEROP_SCRIPT, QString::number(port)};
    if (clear)
        args << "clear";
    node.start("node", args);
    if (!node.waitForStarted(10000)) {
        ADD_FAILURE() << "cannot start node (Node.js): " << node.errorString().toStdString();
        return {};
    }
    if (!node.waitForFinished(60000)) {
        node.kill();
        node.waitForFinished();
        ADD_FAILURE() << "node-zklib did not finish within 60 s";
        return {};
    }
    const QByteArray out = node.readAllStandardOutput();
    if (node.exitCode() != 0) {
        ADD_FAILURE() << "node-zklib failed: " << node.readAllStandardError().toStdString();
        return {};
    }
    // The client prints its own notes first; our line is the last.
    const QJsonDocument doc = QJsonDocument::fromJson(out.trimmed().split('\n').last());
    EXPECT_TRUE(doc.isObject()) << "not one JSON line: " << out.left(300).toStdString();
    return doc.object();
}

QString timeText(const orv::zk::DeviceTime& t) {
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                             t.second);
}

TEST(InteropTest, NodeZklibReadsUsersAndPunchesInBothReplyForms) {
    for (const int count : {2, 12000}) { // one packet; a chunked transfer of several reads
        SCOPED_TRACE(count);
        SimulatorState state;
        state.ensureUsers({"1001", "1002", "1003"});
        state.users[1].name = "SANTOS,ANA";
        state.users[2].privilege = 14;
        state.generatePunches(count, {"1001", "1002", "1003"}, QDate(2024, 3, 1));
        ZkSimulator sim({}, state);
        sim.start();

        const QJsonObject seen = readWithNode(sim.port(), true);
        if (seen.isEmpty())
            return;
        EXPECT_TRUE(seen.value("error").isNull()) << seen.value("error").toString().toStdString();
        EXPECT_EQ(seen.value("info").toObject().value("logCounts").toInt(), count);

        const QJsonArray users = seen.value("users").toArray();
        ASSERT_EQ(users.size(), 3);
        EXPECT_EQ(users[0].toObject().value("userId").toString(), "1001");
        EXPECT_EQ(users[1].toObject().value("name").toString(), "SANTOS,ANA");
        EXPECT_EQ(users[2].toObject().value("role").toInt(), 14);

        const QJsonArray punches = seen.value("punches").toArray();
        ASSERT_EQ(punches.size(), count);
        for (int i = 0; i < count; ++i) {
            const auto& expected = state.punches[static_cast<size_t>(i)];
            const QJsonObject p = punches[i].toObject();
            ASSERT_EQ(p.value("userId").toString(), expected.userId) << "punch " << i;
            ASSERT_EQ(p.value("time").toString(), timeText(expected.time)) << "punch " << i;
        }
        // Its clear command reached the simulator's log.
        EXPECT_TRUE(sim.state().punches.empty());
    }
}

} // namespace
