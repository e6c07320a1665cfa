#include "core/command_line.h"

#include <cstdio>
#include <cstring>
#include <vector>

int32_t SplitCommandLine(const char* commandLine, char* storage, const char** words, int32_t capacity) {
    int32_t count = 0;
    char* out = storage;
    bool quoted = false;
    bool inWord = false;
    for (const char* c = commandLine != nullptr ? commandLine : "";; ++c) {
        bool ends = *c == '\0' || (*c == ' ' && !quoted);
        if (ends && inWord) {
            *out++ = '\0';
            inWord = false;
            ++count;
        }
        if (*c == '\0') break;
        if (ends) continue;
        if (!inWord && count < capacity) words[count] = out;
        if (!inWord && count >= capacity) break;
        inWord = true;
        if (*c == '"')
            quoted = !quoted;
        else
            *out++ = *c;
    }
    return count;
}

CommandLineReading ReadCommandLine(const char* const* words, int32_t count, const ProgramCommandLine& program) {
    CommandLineReading reading;
    bool help = false;
    bool version = false;
    for (int32_t i = 0; i < count; ++i) {
        const char* word = words[i];
        if (std::strcmp(word, "--help") == 0 || std::strcmp(word, "-h") == 0) {
            help = true;
            continue;
        }
        if (std::strcmp(word, "--version") == 0) {
            version = true;
            continue;
        }
        bool known = false;
        for (int32_t f = 0; f < program.flagCount && !known; ++f) {
            if (std::strcmp(word, program.flags[f].word) != 0) continue;
            *program.flags[f].value = 1;
            ++reading.flagsGiven;
            known = true;
        }
        if (!known && reading.refusedWord == nullptr) reading.refusedWord = word;
    }
    // Nothing is answered until every word is understood: "-h -x" is a
    // mistake, not a request for help.
    if (reading.refusedWord != nullptr)
        reading.action = CommandLineAction::Refuse;
    else if (help)
        reading.action = CommandLineAction::ShowHelp;
    else if (version)
        reading.action = CommandLineAction::ShowVersion;
    return reading;
}

int32_t AnswerCommandLine(const char* commandLine, const ProgramCommandLine& program, int32_t& flagsGiven) {
    size_t length = commandLine != nullptr ? std::strlen(commandLine) : 0;
    std::vector<char> storage(length + 1);
    std::vector<const char*> words(length / 2 + 1);
    int32_t count = SplitCommandLine(commandLine, storage.data(), words.data(), static_cast<int32_t>(words.size()));
    CommandLineReading reading = ReadCommandLine(words.data(), count, program);
    flagsGiven = reading.flagsGiven;
    switch (reading.action) {
        case CommandLineAction::ShowHelp:
            std::fputs(program.usage, stdout);
            return 0;
        case CommandLineAction::ShowVersion:
            std::printf("%s %s\n", program.name, program.version);
            return 0;
        case CommandLineAction::Refuse:
            std::fprintf(stderr, "%s: unknown option '%s'\n\n%s", program.name, reading.refusedWord, program.usage);
            return 2;
        case CommandLineAction::Run:
            break;
    }
    return -1;
}
