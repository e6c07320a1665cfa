#include "core/command_line.h"

#include <cstdio>
#include <cstring>

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
        if (*c != '\\' && *c != '"') {
            *out++ = *c;
            continue;
        }
        int32_t backslashes = 0;
        while (c[backslashes] == '\\') ++backslashes;
        bool beforeQuote = c[backslashes] == '"';
        // Backslashes are halved only before a quote, which an odd run makes a character.
        for (int32_t i = 0; i < (beforeQuote ? backslashes / 2 : backslashes); ++i) *out++ = '\\';
        c += beforeQuote ? backslashes : backslashes - 1;
        if (!beforeQuote) continue;
        if (backslashes % 2 == 1)
            *out++ = '"';
        else
            quoted = !quoted;
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
        for (int32_t f = 0; f < program.textCount && !known; ++f) {
            if (std::strcmp(word, program.texts[f].word) != 0) continue;
            known = true;
            bool textFollows = i + 1 < count && std::strncmp(words[i + 1], "--", 2) != 0;
            if (textFollows) {
                *program.texts[f].value = words[++i];
            } else if (reading.refusedWord == nullptr) {
                reading.refusedWord = word;
                reading.textMissing = true;
            }
        }
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

int32_t AnswerCommandLine(const char* commandLine, const ProgramCommandLine& program, CommandLineWords& words,
                          int32_t& flagsGiven) {
    size_t length = commandLine != nullptr ? std::strlen(commandLine) : 0;
    words.storage.assign(length + 1, '\0');
    words.words.assign(length / 2 + 1, nullptr);
    words.count = SplitCommandLine(commandLine, words.storage.data(), words.words.data(),
                                   static_cast<int32_t>(words.words.size()));
    CommandLineReading reading = ReadCommandLine(words.words.data(), words.count, program);
    flagsGiven = reading.flagsGiven;
    switch (reading.action) {
        case CommandLineAction::ShowHelp:
            std::fputs(program.usage, stdout);
            return 0;
        case CommandLineAction::ShowVersion:
            std::printf("%s %s\n", program.name, program.version);
            return 0;
        case CommandLineAction::Refuse:
            if (reading.textMissing)
                std::fprintf(stderr, "%s: option '%s' needs a text after it\n\n%s", program.name, reading.refusedWord,
                             program.usage);
            else
                std::fprintf(stderr, "%s: unknown option '%s'\n\n%s", program.name, reading.refusedWord, program.usage);
            return 2;
        case CommandLineAction::Run:
            break;
    }
    return -1;
}
