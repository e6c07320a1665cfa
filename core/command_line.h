// The command line both programs take: whole words, each one a known option.
#pragma once

#include <cstdint>
#include <vector>

// A word that sets a value to 1, such as "--fullscreen".
struct CommandLineFlag {
    const char* word;
    int32_t* value;
};

// A word followed by a text, such as "--to anna"; value points into the words
// read, or stays as it was when the word is not given.
struct CommandLineText {
    const char* word;
    const char** value;
};

struct ProgramCommandLine {
    const char* name;     // "duckdemo", as the usage and the messages call it
    const char* version;  // "0.1.0"
    const char* usage;    // the text --help prints
    const CommandLineFlag* flags;
    int32_t flagCount;
    const CommandLineText* texts = nullptr;
    int32_t textCount = 0;
};

enum class CommandLineAction { Run, ShowHelp, ShowVersion, Refuse };

struct CommandLineReading {
    CommandLineAction action = CommandLineAction::Run;
    int32_t flagsGiven = 0;
    const char* refusedWord = nullptr;  // Refuse: the first word not understood, inside the words given
    bool textMissing = false;           // Refuse: refusedWord is a text option with no text after it
};

// The words of one command line: the texts read from it point into storage.
struct CommandLineWords {
    std::vector<char> storage;
    std::vector<const char*> words;
    int32_t count = 0;
};

// Splits the command line the system hands to the entry point as Windows
// does: spaces part the words, double quotes keep spaces inside one, and a
// quote after an odd run of backslashes is a quote character. Writes at most capacity
// words into words, each NUL-terminated in storage (at least as long as the
// line plus one); returns how many there are.
int32_t SplitCommandLine(const char* commandLine, char* storage, const char** words, int32_t capacity);

// Sets the flags named and says what the program should do. An option is
// known only as a whole word: "--versionx", "--vers" and "-hello" are refused.
// A text option takes the next word, unless that starts with "--" (as
// "--to --fullscreen", where the text was forgotten).
CommandLineReading ReadCommandLine(const char* const* words, int32_t count, const ProgramCommandLine& program);

// Reads the command line and answers --help, --version and words it does not
// understand (the usage on stderr). Returns the exit code the program ends
// with (0 after help and version, 2 after a refusal), or -1 to run.
int32_t AnswerCommandLine(const char* commandLine, const ProgramCommandLine& program, CommandLineWords& words,
                          int32_t& flagsGiven);
