// The desktop program's command line: split into words, in storage as the
// header asks for it and with word lists of every capacity, then read, and
// each text option's text made into font text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/font_charset.h"
#include "core/command_line.h"
#include "gfx/font_text.h"

namespace {

void ReadSplit(const std::string& line, int32_t capacity) {
    std::vector<char> storage(line.size() + 1);
    std::vector<const char*> words(static_cast<size_t>(capacity));
    int32_t count = SplitCommandLine(line.c_str(), storage.data(), words.data(), capacity);
    if (count < 0 || count > capacity) __builtin_trap();
    for (int32_t i = 0; i < count; ++i) {
        const char* word = words[static_cast<size_t>(i)];
        if (word < storage.data() || word + std::strlen(word) >= storage.data() + storage.size()) __builtin_trap();
    }

    int32_t values[4] = {};
    const CommandLineFlag flags[] = {
        {"--fullscreen", &values[0]},
        {"--double-size", &values[1]},
        {"--on-top", &values[2]},
        {"--no-setup", &values[3]},
    };
    const char* to = nullptr;
    const CommandLineText texts[] = {{"--to", &to}};
    const ProgramCommandLine program = {"duckdemo", "0.1.0", "usage\n", flags, 4, texts, 1};
    CommandLineReading reading = ReadCommandLine(words.data(), count, program);
    if (reading.flagsGiven < 0 || reading.flagsGiven > count) __builtin_trap();
    if ((reading.action == CommandLineAction::Refuse) != (reading.refusedWord != nullptr)) __builtin_trap();
    if (to == nullptr) return;
    char drawn[9];
    FontTextCheck check = ToFontText(to, kFontCharset, 8, drawn);
    if (std::strlen(drawn) > 8 || check.length < static_cast<int32_t>(std::strlen(drawn))) __builtin_trap();
    for (const char* c = drawn; *c != '\0'; ++c)
        if (*c != ' ' && std::strchr(kFontCharset, *c) == nullptr) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The system hands over a NUL-terminated line, so a NUL ends it.
    std::string line(reinterpret_cast<const char*>(data), size);
    line.resize(std::strlen(line.c_str()));
    // As the program sizes its word list, and too small for every word.
    ReadSplit(line, static_cast<int32_t>(line.size() / 2 + 1));
    ReadSplit(line, static_cast<int32_t>(line.size() % 4));
    return 0;
}
