#include "core/command_line.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Given {
    const char* name;
    const char* commandLine;
    CommandLineAction action;
    const char* flagsSet;  // which of the three flags below end up set, as "fdo"
    const char* refusedWord;
};

void PrintTo(const Given& given, std::ostream* out) { *out << '"' << given.commandLine << '"'; }

class ReadCommandLineTest : public testing::TestWithParam<Given> {};

TEST_P(ReadCommandLineTest, KnowsOptionsOnlyAsWholeWords) {
    int32_t fullscreen = 0;
    int32_t doubleSize = 0;
    int32_t onTop = 0;
    const CommandLineFlag flags[] = {
        {"--fullscreen", &fullscreen}, {"--double-size", &doubleSize}, {"--on-top", &onTop}};
    const ProgramCommandLine program = {"duckdemo", "1.2.3", "usage\n", flags, 3};

    std::string line = GetParam().commandLine;
    std::vector<char> storage(line.size() + 1);
    std::vector<const char*> words(line.size() / 2 + 1);
    int32_t count = SplitCommandLine(line.c_str(), storage.data(), words.data(), static_cast<int32_t>(words.size()));
    CommandLineReading reading = ReadCommandLine(words.data(), count, program);

    EXPECT_EQ(reading.action, GetParam().action);
    std::string set = std::string(fullscreen ? "f" : "") + (doubleSize ? "d" : "") + (onTop ? "o" : "");
    EXPECT_EQ(set, GetParam().flagsSet);
    EXPECT_EQ(std::string(reading.refusedWord != nullptr ? reading.refusedWord : ""), GetParam().refusedWord);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ReadCommandLineTest,
    testing::Values(Given{"Empty", "", CommandLineAction::Run, "", ""},
                    Given{"TwoFlags", "--fullscreen --on-top", CommandLineAction::Run, "fo", ""},
                    Given{"SpacesAround", "  --double-size  ", CommandLineAction::Run, "d", ""},
                    Given{"QuotedWord", "\"--double-size\"", CommandLineAction::Run, "d", ""},
                    Given{"Help", "--help", CommandLineAction::ShowHelp, "", ""},
                    Given{"HelpBeforeVersion", "-h --version", CommandLineAction::ShowHelp, "", ""},
                    Given{"Version", "--version", CommandLineAction::ShowVersion, "", ""},
                    Given{"VersionWithATail", "--versionx", CommandLineAction::Refuse, "", "--versionx"},
                    Given{"AbbreviatedVersion", "--vers", CommandLineAction::Refuse, "", "--vers"},
                    Given{"ShortHelpWithATail", "-hello", CommandLineAction::Refuse, "", "-hello"},
                    Given{"HelpWithAnUnknownWord", "--help --bogus", CommandLineAction::Refuse, "", "--bogus"},
                    Given{"AbbreviatedFlag", "--full", CommandLineAction::Refuse, "", "--full"},
                    Given{"TwoFlagsQuotedAsOne", "\"--on-top --fullscreen\"", CommandLineAction::Refuse, "",
                          "--on-top --fullscreen"},
                    Given{"AWordNotAnOption", "data.xm", CommandLineAction::Refuse, "", "data.xm"}),
    [](const testing::TestParamInfo<Given>& info) { return std::string(info.param.name); });

struct GivenText {
    const char* name;
    const char* commandLine;
    CommandLineAction action;
    const char* to;  // "(none)" where no text was taken
    bool textMissing;
};

void PrintTo(const GivenText& given, std::ostream* out) { *out << given.commandLine; }

class TextOptionTest : public testing::TestWithParam<GivenText> {};

// Split as Windows splits a command line, so a quote a person typed reaches the text.
TEST_P(TextOptionTest, TakesTheNextWordWithQuotesAsWindowsWritesThem) {
    int32_t fullscreen = 0;
    const CommandLineFlag flags[] = {{"--fullscreen", &fullscreen}};
    const char* to = "(none)";
    const CommandLineText texts[] = {{"--to", &to}};
    const ProgramCommandLine program = {"duckdemo", "1.2.3", "usage\n", flags, 1, texts, 1};

    CommandLineWords words;
    std::string line = GetParam().commandLine;
    words.storage.resize(line.size() + 1);
    words.words.resize(line.size() / 2 + 1);
    int32_t count = SplitCommandLine(line.c_str(), words.storage.data(), words.words.data(),
                                     static_cast<int32_t>(words.words.size()));
    CommandLineReading reading = ReadCommandLine(words.words.data(), count, program);

    EXPECT_EQ(reading.action, GetParam().action);
    EXPECT_EQ(std::string(to), GetParam().to);
    EXPECT_EQ(reading.textMissing, GetParam().textMissing);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, TextOptionTest,
    testing::Values(GivenText{"OneWord", "--to anna --fullscreen", CommandLineAction::Run, "anna", false},
                    GivenText{"Quoted", "\"--to\" \"anna b\"", CommandLineAction::Run, "anna b", false},
                    GivenText{"EscapedQuotes", "--to \"say \\\"hi\\\"\"", CommandLineAction::Run, "say \"hi\"", false},
                    GivenText{"BackslashesKeptAwayFromQuotes", "--to a\\\\b", CommandLineAction::Run, "a\\\\b", false},
                    GivenText{"EvenBackslashesBeforeAQuote", "--to \"a\\\\\"", CommandLineAction::Run, "a\\", false},
                    GivenText{"NothingAfterIt", "--fullscreen --to", CommandLineAction::Refuse, "(none)", true},
                    GivenText{"AnOptionAfterIt", "--to --fullscreen", CommandLineAction::Refuse, "(none)", true}),
    [](const testing::TestParamInfo<GivenText>& info) { return std::string(info.param.name); });

}  // namespace
