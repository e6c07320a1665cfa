// Reading scripted input: each line split into words, checked word by word,
// so an error can say which word it expected and what it found instead.
#include "standin/capture/input_script.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <sys/stat.h>
#include <utility>

namespace standin {
namespace {

constexpr int64_t kLargestTime = INT32_MAX;
constexpr int64_t kLargestCoordinate = 65535;
constexpr size_t kLongestQuotedWord = 32;
constexpr size_t kLargestScriptBytes = size_t{16} << 20;

const char kKeyNames[] =
    "escape, space, return, enter, tab, backspace, left, right, up, down, shift, f1 to f12, "
    "a to z, 0 to 9";

struct NamedKey {
    const char* name;
    uint32_t virtualKey;
};

constexpr NamedKey kNamedKeys[] = {
    {"escape", 0x1B}, {"space", 0x20}, {"return", 0x0D}, {"enter", 0x0D}, {"tab", 0x09},   {"backspace", 0x08},
    {"left", 0x25},   {"up", 0x26},    {"right", 0x27},  {"down", 0x28},  {"shift", 0x10},
};
constexpr uint32_t kVirtualKeyF1 = 0x70;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string Lowercase(std::string_view word) {
    std::string lower(word);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// A whole number of digits only, at most largest.
bool ParseWhole(std::string_view word, int64_t largest, int64_t& value) {
    if (word.empty()) return false;
    value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
        if (value > largest) return false;
    }
    return true;
}

bool ParseKeyName(std::string_view word, uint32_t& virtualKey) {
    std::string name = Lowercase(word);
    for (const NamedKey& key : kNamedKeys) {
        if (name == key.name) {
            virtualKey = key.virtualKey;
            return true;
        }
    }
    if (name.size() == 1 && ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= '0' && name[0] <= '9'))) {
        // The letters' codes are their capitals'; the digits' their own.
        virtualKey = static_cast<uint32_t>(name[0] >= 'a' ? name[0] - 'a' + 'A' : name[0]);
        return true;
    }
    int64_t function = 0;
    if (name.size() >= 2 && name[0] == 'f' && ParseWhole(std::string_view(name).substr(1), 12, function) &&
        function >= 1 && name[1] != '0') {
        virtualKey = kVirtualKeyF1 + static_cast<uint32_t>(function - 1);
        return true;
    }
    return false;
}

// The words of one line and which one is next; an error names the next word
// as what it found instead of what it expected.
class LineWords {
public:
    explicit LineWords(std::string_view line) {
        size_t start = 0;
        while (start < line.size()) {
            while (start < line.size() && IsSpace(line[start])) ++start;
            size_t end = start;
            while (end < line.size() && !IsSpace(line[end])) ++end;
            if (end > start) words.push_back(line.substr(start, end - start));
            start = end;
        }
    }

    bool Empty() const { return words.empty(); }
    bool AtEnd() const { return next == words.size(); }
    std::string_view Next() const { return AtEnd() ? std::string_view() : words[next]; }
    void Skip() { ++next; }

    std::string Found() const {
        if (AtEnd()) return "found the end of the line";
        std::string quoted = "found '";
        std::string_view word = words[next];
        for (size_t i = 0; i < word.size() && i < kLongestQuotedWord; ++i) {
            unsigned char c = static_cast<unsigned char>(word[i]);
            quoted += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
        }
        if (word.size() > kLongestQuotedWord) quoted += "...";
        return quoted + "'";
    }

private:
    std::vector<std::string_view> words;
    size_t next = 0;
};

}  // namespace

bool ParseInputScript(const std::string& text, const std::string& name, std::vector<ScriptedInput>& events,
                      std::string& error) {
    std::vector<ScriptedInput> read;
    int64_t lastTime = 0;
    int32_t lastTimeLine = 0;
    bool moved = false;
    int32_t x = 0;
    int32_t y = 0;
    int32_t lineNumber = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        LineWords words(line.substr(0, line.find('#')));
        if (words.Empty()) continue;

        auto fail = [&](const std::string& expected) {
            error = name + ":" + std::to_string(lineNumber) + ": expected " + expected + ", " + words.Found();
            return false;
        };
        auto whole = [&](int64_t largest, int64_t& value) {
            if (!ParseWhole(words.Next(), largest, value)) return false;
            words.Skip();
            return true;
        };

        int64_t time = 0;
        if (!ParseWhole(words.Next(), kLargestTime, time))
            return fail("a time in whole milliseconds from 0 to 2147483647 at the start of the line");
        if (time < lastTime) {
            return fail("a time of at least " + std::to_string(lastTime) + " (line " + std::to_string(lastTimeLine) +
                        "'s)");
        }
        words.Skip();
        ScriptedInput event;
        event.timeMilliseconds = static_cast<int32_t>(time);

        std::string what = Lowercase(words.Next());
        std::string done;
        if (what == "move") {
            words.Skip();
            int64_t newX = 0;
            int64_t newY = 0;
            if (!whole(kLargestCoordinate, newX)) return fail("X, a whole number from 0 to 65535, after 'move'");
            if (!whole(kLargestCoordinate, newY)) return fail("Y, a whole number from 0 to 65535, after 'move X'");
            x = static_cast<int32_t>(newX);
            y = static_cast<int32_t>(newY);
            moved = true;
            event.kind = ScriptedInputKind::Move;
            done = "'move X Y'";
        } else if (what == "down" || what == "up") {
            if (!moved) return fail("a 'move X Y' on an earlier line, to place the pointer, before 'down' or 'up'");
            words.Skip();
            event.kind = what == "down" ? ScriptedInputKind::Down : ScriptedInputKind::Up;
            done = "'" + what + "'";
        } else if (what == "key") {
            words.Skip();
            if (!ParseKeyName(words.Next(), event.virtualKey))
                return fail(std::string("a key name after 'key' (") + kKeyNames + ")");
            words.Skip();
            event.kind = ScriptedInputKind::Key;
            done = "'key NAME'";
        } else {
            return fail("'move X Y', 'down', 'up' or 'key NAME' after the time");
        }
        if (!words.AtEnd()) return fail("the end of the line after " + done);

        event.x = x;
        event.y = y;
        read.push_back(event);
        lastTime = time;
        lastTimeLine = lineNumber;
    }
    events = std::move(read);
    return true;
}

bool ReadInputScript(const std::string& path, std::vector<ScriptedInput>& events, std::string& error) {
    // Only a regular file: a FIFO would wait for a writer, and a device such
    // as /dev/zero never ends.
    struct stat information {};
    if (stat(path.c_str(), &information) == 0 && !S_ISREG(information.st_mode)) {
        error = path + ": cannot read (not a regular file)";
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = path + ": cannot read (" + std::strerror(errno) + ")";
        return false;
    }
    std::string text;
    char buffer[4096];
    size_t count = 0;
    while (text.size() <= kLargestScriptBytes && (count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, count);
    bool failed = std::ferror(file) != 0;
    int reason = errno;
    std::fclose(file);
    if (failed) {
        error = path + ": cannot read (" + std::strerror(reason) + ")";
        return false;
    }
    if (text.size() > kLargestScriptBytes) {
        error = path + ": cannot read (larger than " + std::to_string(kLargestScriptBytes >> 20) +
                " MB; a script of a whole day's clicks is far smaller)";
        return false;
    }
    return ParseInputScript(text, path, events, error);
}

}  // namespace standin
