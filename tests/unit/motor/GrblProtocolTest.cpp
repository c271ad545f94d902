#include "motor/GrblProtocol.h"

#include <gtest/gtest.h>

TEST(GrblProtocolTest, JogLinesAskForOneRelativeMoveInMillimetres) {
    struct Case {
        std::vector<std::pair<char, double>> moves;
        double feed;
        const char* line; // "" when no line may be sent
    } cases[] = {
        {{{'X', 1.25}, {'Y', -0.4}}, 120, "$J=G91 G21 X1.2500 Y-0.4000 F120.0\n"},
        {{{'Y', 0.00012}}, 50, "$J=G91 G21 Y0.0001 F50.0\n"},
        {{{'X', 0.0}, {'Y', 2}},
         10,
         "$J=G91 G21 Y2.0000 F10.0\n"}, // an axis that stays is left out
        {{{'X', 0.00001}}, 10, ""},     // nothing to move
        {{}, 10, ""},
        {{{'X', 1}}, 0, ""}, // no feed
        {{{'X', 1}}, -5, ""},
        {{{'X', std::nan("")}}, 10, ""},
        {{{'X', INFINITY}}, 10, ""},
        {{{'Q', 1}}, 10, ""}, // no such axis
    };
    for (const Case& c : cases)
        EXPECT_EQ(GrblJogLine(c.moves, c.feed), QByteArray(c.line)) << c.line;
}

TEST(GrblProtocolTest, RepliesAndStatusReportsAreRead) {
    struct Case {
        const char* line;
        GrblReply::Kind kind;
        int code;
        const char* state;
        bool mpos;
    } cases[] = {
        {"ok", GrblReply::Ok, 0, "", false},
        {"ok\r", GrblReply::Ok, 0, "", false},
        {"error:15", GrblReply::Error, 15, "", false},
        {"ALARM:2", GrblReply::Alarm, 2, "", false},
        {"<Idle|MPos:1.000,-2.500,0.000|FS:0,0>", GrblReply::Status, 0, "Idle", true},
        {"<Jog|MPos:0.1,0.2,0.3|FS:100,0>", GrblReply::Status, 0, "Jog", true},
        {"<Hold:0|MPos:0,0,0>", GrblReply::Status, 0, "Hold", true},
        {"<Idle|WPos:1,2,3>", GrblReply::Status, 0, "Idle", false},
        {"<Idle|MPos:1,x,3>", GrblReply::Status, 0, "Idle", false},
        {"Grbl 1.1h ['$' for help]", GrblReply::Welcome, 0, "", false},
        {"", GrblReply::Empty, 0, "", false},
        {"error:", GrblReply::Other, 0, "", false},
        {"<>", GrblReply::Other, 0, "", false},
        {"[MSG:Reset to continue]", GrblReply::Other, 0, "", false},
    };
    for (const Case& c : cases) {
        const GrblReply r = ParseGrblLine(c.line);
        EXPECT_EQ(r.kind, c.kind) << c.line;
        EXPECT_EQ(r.code, c.code) << c.line;
        EXPECT_EQ(r.state, QString::fromLatin1(c.state)) << c.line;
        EXPECT_EQ(r.hasMpos, c.mpos) << c.line;
    }
    const GrblReply r = ParseGrblLine("<Idle|MPos:1.000,-2.500,0.250|FS:0,0>");
    EXPECT_DOUBLE_EQ(r.mpos[0], 1.0);
    EXPECT_DOUBLE_EQ(r.mpos[1], -2.5);
    EXPECT_DOUBLE_EQ(r.mpos[2], 0.25);
}
