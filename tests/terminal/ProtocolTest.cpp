#include "TerminalError.h"
#include "ZkProtocol.h"
#include "ZkRecords.h"

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::zk;

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

TEST(ProtocolTest, FramesMatchTheWorkedExamples) {
    struct Case {
        quint16 command, session, reply;
        const char* data;
        const char* frame;
    };
    const Case cases[] = {
        {CMD_CONNECT, 0, 0, "", "50 50 82 7D 08 00 00 00 E8 03 17 FC 00 00 00 00"},
        {CMD_SET_TIME, 0x1234, 5, "B5 F9 5E 2E",
         "50 50 82 7D 0C 00 00 00 CA 00 E8 C4 34 12 05 00 B5 F9 5E 2E"},
        {CMD_FREE_DATA, 0x1234, 5, "", "50 50 82 7D 08 00 00 00 DE 05 E8 E7 34 12 05 00"},
        {CMD_ACK_OK, 0x1234, 7, "", "50 50 82 7D 08 00 00 00 D0 07 F4 E5 34 12 07 00"},
        {CMD_DATA_WRRQ, 0x1234, 6, "01 0D 00 00 00 00 00 00 00 00 00",
         "50 50 82 7D 13 00 00 00 DF 05 E5 DA 34 12 06 00 01 0D 00 00 00 00 00 00 00 00 00"},
        {CMD_DATA_RDY, 0x1234, 7, "00 00 00 00 C0 FF 00 00",
         "50 50 82 7D 10 00 00 00 E0 05 23 E8 34 12 07 00 00 00 00 00 C0 FF 00 00"},
        {CMD_ACK_OK, 0x1234, 6, "00 A0 86 01 00 A0 86 01 00 00 00 00 00",
         "50 50 82 7D 15 00 00 00 D0 07 E8 A2 34 12 06 00 00 A0 86 01 00 A0 86 01 00 00 00 00 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        EXPECT_EQ(encodeFrame(c.command, c.session, c.reply, hex(c.data)).toHex(' '),
                  hex(c.frame).toHex(' '));
        EXPECT_EQ(bulkRequest(CMD_ATTLOG_RRQ, 0), hex("01 0D 00 00 00 00 00 00 00 00 00"));
    }
}

TEST(ProtocolTest, ChecksumOfPublishedVectorsIncludingOddLength) {
    // Payloads with their checksum field zeroed, and the checksum they carry.
    const QByteArray face =
        hex("0B 00 00 00 F3 8D 03 00") + QByteArray("ZKFaceVersion", 13) + QByteArray(1, '\0');
    EXPECT_EQ(checksum(face), 0x175A);
    EXPECT_EQ(checksum(hex("D0 07 00 00 F3 8D 0A 00 09")), 0x6A29);
    // A received packet verifies to 0 and decodes.
    const QByteArray payload = hex("D0 07 29 6A F3 8D 0A 00 09");
    EXPECT_EQ(checksum(payload), 0);
    const Packet p = decodePayload(payload);
    EXPECT_EQ(p.command, CMD_ACK_OK);
    EXPECT_EQ(p.session, 0x8DF3);
    EXPECT_EQ(p.reply, 10);
    EXPECT_EQ(p.data, hex("09"));
}

TEST(ProtocolTest, MalformedPayloadsAndPrefixesAreRefused) {
    QByteArray damaged = hex("D0 07 29 6A F3 8D 0A 00 09");
    damaged[8] = 0x08;
    EXPECT_THROW(decodePayload(damaged), TerminalError);
    EXPECT_NO_THROW(decodePayload(damaged, false));
    EXPECT_THROW(decodePayload(hex("D0 07 29")), TerminalError);
    EXPECT_THROW(payloadLength(hex("50 50 82 7D 04 00 00 00").constData()), TerminalError);
    EXPECT_THROW(payloadLength(hex("50 50 82 7D 00 00 00 7F").constData()), TerminalError);
    EXPECT_THROW(payloadLength(hex("48 54 54 50 08 00 00 00").constData()), TerminalError);
    EXPECT_EQ(payloadLength(hex("50 50 82 7D 08 00 01 00").constData()), 0x10008u);
}

TEST(ProtocolTest, TimeEncodingMatchesExamplesAndRoundTrips) {
    EXPECT_EQ(encodeTime({2024, 3, 15, 8, 30, 45}), 0x2E5EF9B5u);
    EXPECT_EQ(decodeTime(0x2E5EF9B5u), (DeviceTime{2024, 3, 15, 8, 30, 45}));
    EXPECT_EQ(decodeTime(0x2368B36Bu), (DeviceTime{2018, 6, 25, 17, 50, 35}));
    const DeviceTime samples[] = {{2000, 1, 1, 0, 0, 0},
                                  {2024, 2, 29, 23, 59, 59},
                                  {2024, 3, 7, 9, 5, 2},
                                  {2024, 12, 31, 12, 0, 1},
                                  {2099, 12, 31, 23, 59, 59}};
    for (const DeviceTime& t : samples)
        EXPECT_EQ(decodeTime(encodeTime(t)), t);
    // A corrupt record may name a day no calendar has.
    EXPECT_FALSE(toDateTime({2024, 2, 31, 8, 0, 0}).isValid());
}

TEST(ProtocolTest, AttendanceAndUserRecordsMatchTheExampleLayouts) {
    const QByteArray record =
        hex("01 00 31 30 30 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 "
            "B5 F9 5E 2E 00 00 00 00 00 00 00 00 00");
    AttendanceRecord r;
    r.sn = 1;
    r.userId = "1001";
    r.verify = 1;
    r.time = encodeTime({2024, 3, 15, 8, 30, 45});
    EXPECT_EQ(encodeAttendance40(r), record);
    const auto decoded = decodeAttendance(record + record, 40);
    ASSERT_EQ(decoded.size(), 2u);
    EXPECT_EQ(decoded[1].userId, "1001");
    EXPECT_EQ(decoded[1].verify, 1);
    EXPECT_EQ(decoded[1].time, 0x2E5EF9B5u);
    EXPECT_THROW(decodeAttendance(record.left(39), 40), TerminalError);
    EXPECT_THROW(decodeAttendance(record, 12), TerminalError);

    UserRecord u{0x0E, 0x06, "123456", "Nuevo", 6543, 1, "11224488"};
    const QByteArray user = encodeUser72(u);
    ASSERT_EQ(user.size(), 72);
    EXPECT_EQ(user.left(3), hex("0E 00 06"));
    EXPECT_EQ(user.mid(35, 5), hex("8F 19 00 00 01"));
    const UserRecord back = decodeUsers(user, 72).front();
    EXPECT_EQ(back.userId, "11224488");
    EXPECT_EQ(back.name, "Nuevo");
    EXPECT_EQ(back.password, "123456");
    EXPECT_EQ(sdkPrivilege(back.privilege), 2);
    // A 24-byte name field keeps 23 bytes and never splits a character.
    u.name = QString(22, u'A') + QStringLiteral("ñ");
    EXPECT_EQ(decodeUsers(encodeUser72(u), 72).front().name, QString(22, u'A'));
    // The old firmware's layouts: 28-byte users with a numeric PIN, 16-byte punches.
    const UserRecord old = decodeUsers(encodeUser28({7, 0, "12", "ANA", 0, 1, "1007"}), 28).front();
    EXPECT_EQ(old.sn, 7);
    EXPECT_EQ(old.userId, "1007");
    EXPECT_EQ(old.name, "ANA");
    const auto pin = decodeAttendance(hex("EF 03 00 00 B5 F9 5E 2E 01 02 00 00 00 00 00 00"), 16).front();
    EXPECT_EQ(pin.userId, "1007");
    EXPECT_EQ(pin.state, 1);
    EXPECT_EQ(pin.verify, 2);
    EXPECT_EQ(privilegeByte(0, false), 1);
    EXPECT_EQ(privilegeByte(3, true), 14);
}

} // namespace
