#include "standin/capture/input_script.h"

#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace {

using standin::ScriptedInput;
using standin::ScriptedInputKind;
using testing::EndsWith;
using testing::HasSubstr;
using testing::StartsWith;

// An event as a script line would give it, with where the pointer is.
std::string Describe(const ScriptedInput& event) {
    char text[64];
    switch (event.kind) {
        case ScriptedInputKind::Move:
            std::snprintf(text, sizeof text, "%d move %d %d", event.timeMilliseconds, event.x, event.y);
            break;
        case ScriptedInputKind::Down:
        case ScriptedInputKind::Up:
            std::snprintf(text, sizeof text, "%d %s at %d %d", event.timeMilliseconds,
                          event.kind == ScriptedInputKind::Down ? "down" : "up", event.x, event.y);
            break;
        case ScriptedInputKind::Key:
            std::snprintf(text, sizeof text, "%d key 0x%02X", event.timeMilliseconds, event.virtualKey);
            break;
    }
    return text;
}

TEST(InputScript, ReadsEveryEventWithTheKeysWin32Codes) {
    std::string path = TestFilePath("input_script.txt");
    WriteWholeFile(path,
                   "# the setup box, then the game\n"
                   "\n"
                   "   80500 move 120 160   \r\n"
                   "80600 down\n"
                   "80650 UP\n"
                   "\t80650 Move 0 65535  # the far corner\n"
                   "81000 key escape\n"
                   "81000 key Enter\n"
                   "81000 key return\n"
                   "82000 key down\n"  // after 'key', down and up are the arrows
                   "82000 key UP\n"
                   "82001 key left\n"
                   "82002 key right\n"
                   "83000 key Space\n"
                   "83000 key tab\n"
                   "83000 key backspace\n"
                   "83000 key shift\n"
                   "84000 key f1\n"
                   "84000 key F12\n"
                   "84000 key a\n"
                   "84000 key Z\n"
                   "84000 key 0\n"
                   "84000 key 9\n"
                   "84100 down\n"
                   "84200 up");
    std::vector<ScriptedInput> events;
    std::string error;
    ASSERT_TRUE(standin::ReadInputScript(path, events, error)) << error;

    std::vector<std::string> described;
    for (const ScriptedInput& event : events) described.push_back(Describe(event));
    EXPECT_THAT(
        described,
        testing::ElementsAre("80500 move 120 160", "80600 down at 120 160", "80650 up at 120 160", "80650 move 0 65535",
                             "81000 key 0x1B", "81000 key 0x0D", "81000 key 0x0D", "82000 key 0x28", "82000 key 0x26",
                             "82001 key 0x25", "82002 key 0x27", "83000 key 0x20", "83000 key 0x09", "83000 key 0x08",
                             "83000 key 0x10", "84000 key 0x70", "84000 key 0x7B", "84000 key 0x41", "84000 key 0x5A",
                             "84000 key 0x30", "84000 key 0x39", "84100 down at 0 65535", "84200 up at 0 65535"));
}

TEST(InputScript, AFileThatCannotBeOpenedSaysSo) {
    std::string path = TestFilePath("no_such_script.txt");
    std::vector<ScriptedInput> events;
    std::string error;
    EXPECT_FALSE(standin::ReadInputScript(path, events, error));
    EXPECT_EQ(error, path + ": cannot read (No such file or directory)");
}

struct BadScript {
    const char* name;
    const char* text;
    int line;
    const char* expected;
    const char* found;
};

void PrintTo(const BadScript& script, std::ostream* out) { *out << testing::PrintToString(std::string(script.text)); }

class InputScriptErrorTest : public testing::TestWithParam<BadScript> {};

TEST_P(InputScriptErrorTest, NamesTheLineWhatItExpectedAndWhatItFound) {
    const BadScript& script = GetParam();
    std::vector<ScriptedInput> events(1);
    events[0].timeMilliseconds = 7;
    std::string error;
    EXPECT_FALSE(standin::ParseInputScript(script.text, "capture.txt", events, error));
    EXPECT_THAT(error, StartsWith("capture.txt:" + std::to_string(script.line) + ": expected " + script.expected));
    EXPECT_THAT(error, EndsWith(std::string(", found ") + script.found));
    EXPECT_THAT(error, testing::Not(HasSubstr("\n")));
    ASSERT_EQ(events.size(), 1u) << "a bad script leaves the events as they were";
    EXPECT_EQ(events[0].timeMilliseconds, 7);
}

constexpr const char* kTime = "a time in whole milliseconds";
constexpr const char* kEvent = "'move X Y', 'down', 'up' or 'key NAME' after the time";
constexpr const char* kX = "X, a whole number from 0 to 65535, after 'move'";
constexpr const char* kY = "Y, a whole number from 0 to 65535, after 'move X'";
constexpr const char* kKey = "a key name after 'key'";

INSTANTIATE_TEST_SUITE_P(
    BadLines, InputScriptErrorTest,
    testing::Values(BadScript{"TimeMissing", "100 move 1 2\nmove 3 4\n", 2, kTime, "'move'"},
                    BadScript{"TimeFractional", "80.5 move 1 2", 1, kTime, "'80.5'"},
                    BadScript{"TimeNegative", "-5 move 1 2", 1, kTime, "'-5'"},
                    BadScript{"TimeBeyondTheClock", "2147483648 move 1 2", 1, kTime, "'2147483648'"},
                    BadScript{"TimeAlone", "# setup\n\n100\n", 3, kEvent, "the end of the line"},
                    BadScript{"WordUnknown", "100 click", 1, kEvent, "'click'"},
                    BadScript{"LineNumbersCountCarriageReturnLines", "100 move 1 2\r\n\r\n# x\r\n200 jump\r\n", 4,
                              kEvent, "'jump'"},
                    BadScript{"XMissing", "100 move", 1, kX, "the end of the line"},
                    BadScript{"XNotANumber", "100 move left 5", 1, kX, "'left'"},
                    BadScript{"XNegative", "100 move -1 5", 1, kX, "'-1'"},
                    BadScript{"YMissing", "100 move 5", 1, kY, "the end of the line"},
                    BadScript{"YTooLarge", "100 move 5 65536", 1, kY, "'65536'"},
                    BadScript{"KeyNameMissing", "100 key", 1, kKey, "the end of the line"},
                    BadScript{"KeyNameUnknown", "100 key ctrl", 1, kKey, "'ctrl'"},
                    BadScript{"KeyPastF12", "100 key f13", 1, kKey, "'f13'"},
                    BadScript{"KeyTwoLetters", "100 key ab", 1, kKey, "'ab'"},
                    BadScript{"ClickBeforeAnyMove", "100 down", 1, "a 'move X Y' on an earlier line", "'down'"},
                    BadScript{"TimeGoingBack", "100 move 1 2\n\n200 down\n150 up\n", 4,
                              "a time of at least 200 (line 3's)", "'150'"},
                    BadScript{"JunkAfterMove", "100 move 1 2 3", 1, "the end of the line after 'move X Y'", "'3'"},
                    BadScript{"JunkAfterDown", "100 move 1 2\n100 down now", 2, "the end of the line after 'down'",
                              "'now'"},
                    BadScript{"JunkAfterKey", "100 key space bar", 1, "the end of the line after 'key NAME'", "'bar'"}),
    [](const testing::TestParamInfo<BadScript>& info) { return std::string(info.param.name); });

}  // namespace
