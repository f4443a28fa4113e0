#include "statefile.h"

#include "vmouse_log.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vmouse {

namespace {

const char kDeviceSection[] = "device";
const char kProfileSection[] = "profile";
const char kMacroSection[] = "macro";

std::string hexBytes(const std::uint8_t *data, std::size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 0x0F];
    }
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Exactly n bytes; blanks between digits are allowed so a human may group them.
bool parseHex(const std::string &text, std::uint8_t *out, std::size_t n)
{
    std::size_t count = 0;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == '\t')
            continue;
        const int d = hexDigit(c);
        if (d < 0 || count == n)
            return false;
        if (high < 0) {
            high = d;
        } else {
            out[count++] = static_cast<std::uint8_t>(high << 4 | d);
            high = -1;
        }
    }
    return count == n && high < 0;
}

std::optional<unsigned> parseNumber(const std::string &text, unsigned max)
{
    if (text.empty())
        return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    unsigned value = 0;
    for (std::size_t i = hex ? 2 : 0; i < text.size(); ++i) {
        const int d = hex ? hexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (d < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<unsigned>(d);
        if (value > max)
            return std::nullopt;
    }
    return value;
}

std::string trimmed(const std::string &s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// Section name "profile3" -> 3 when it has the prefix and a number in range.
std::optional<unsigned> sectionIndex(const std::string &section, const char *prefix, unsigned lo, unsigned hi)
{
    const std::size_t n = std::strlen(prefix);
    if (section.compare(0, n, prefix) != 0 || section.size() == n)
        return std::nullopt;
    const auto v = parseNumber(section.substr(n), hi);
    if (!v || *v < lo)
        return std::nullopt;
    return v;
}

// Applies one key; false when the key is unknown or its value malformed.
bool applyKey(MouseState &s, const std::string &section, const std::string &key, const std::string &value)
{
    auto byteValue = [&](std::uint8_t &target, unsigned max) {
        const auto v = parseNumber(value, max);
        if (v)
            target = static_cast<std::uint8_t>(*v);
        return v.has_value();
    };
    if (section == kDeviceSection) {
        if (key == "plugged") {
            std::uint8_t v = 0;
            if (!byteValue(v, 1))
                return false;
            s.plugged = v != 0;
            return true;
        }
        if (key == "version")
            return parseHex(value, s.version.data(), s.version.size());
        if (key == "option")
            return byteValue(s.option, 0xFF);
        if (key == "current_profile")
            return byteValue(s.currentProfile, kProfileCount - 1);
        if (key == "twinkle")
            return byteValue(s.twinkle, 0xFF);
        return false;
    }
    if (const auto p = sectionIndex(section, kProfileSection, 0, kProfileCount - 1)) {
        if (key == "rate")
            return byteValue(s.rate[*p], 0xFF);
        if (key == "stage")
            return byteValue(s.stage[*p], 0xFF);
        // Parse into a copy: a malformed block must not leave half of it overwritten.
        Block b{};
        if ((key != "block" && key != "matrix") || !parseHex(value, b.data(), b.size()))
            return false;
        (key == "block" ? s.profiles : s.matrices)[*p] = b;
        return true;
    }
    if (const auto m = sectionIndex(section, kMacroSection, 1, kMacroCount)) {
        Block b{};
        if (key != "block" || !parseHex(value, b.data(), b.size()))
            return false;
        s.macros[*m - 1] = b;
        return true;
    }
    return false;
}

} // namespace

std::string formatState(const MouseState &s)
{
    std::ostringstream out;
    out << "# Virtual mouse state. Numbers are decimal, byte arrays hexadecimal (two digits a byte).\n"
        << "[" << kDeviceSection << "]\n"
        << "plugged=" << (s.plugged ? 1 : 0) << "\n"
        << "version=" << hexBytes(s.version.data(), s.version.size()) << "\n"
        << "option=" << unsigned(s.option) << "\n"
        << "current_profile=" << unsigned(s.currentProfile) << "\n"
        << "twinkle=" << unsigned(s.twinkle) << "\n";
    for (int p = 0; p < kProfileCount; ++p) {
        out << "\n[" << kProfileSection << p << "]\n"
            << "rate=" << unsigned(s.rate[p]) << "\n"
            << "stage=" << unsigned(s.stage[p]) << "\n"
            << "block=" << hexBytes(s.profiles[p].data(), kBlockLength) << "\n"
            << "matrix=" << hexBytes(s.matrices[p].data(), kBlockLength) << "\n";
    }
    for (int m = 1; m <= kMacroCount; ++m)
        out << "\n[" << kMacroSection << m << "]\nblock=" << hexBytes(s.macros[m - 1].data(), kBlockLength)
            << "\n";
    return out.str();
}

int parseState(const std::string &text, MouseState &state)
{
    std::istringstream in(text);
    std::string line;
    std::string section;
    int skipped = 0;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        line = trimmed(line);
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = trimmed(line.substr(1, line.size() - 2));
            continue;
        }
        const auto eq = line.find('=');
        const std::string key = eq == std::string::npos ? line : trimmed(line.substr(0, eq));
        if (eq == std::string::npos || !applyKey(state, section, key, trimmed(line.substr(eq + 1)))) {
            ++skipped;
            qCWarning(lcVmouse, "state file line %d ([%s] %s): unknown key or malformed value; skipped",
                      number, section.c_str(), key.c_str());
        }
    }
    return skipped;
}

std::optional<bool> parsePlugged(const std::string &text)
{
    std::istringstream in(text);
    std::string line;
    std::string section;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (!line.empty() && line.front() == '[' && line.back() == ']') {
            section = trimmed(line.substr(1, line.size() - 2));
            continue;
        }
        const auto eq = line.find('=');
        if (section != kDeviceSection || eq == std::string::npos || trimmed(line.substr(0, eq)) != "plugged")
            continue;
        const auto v = parseNumber(trimmed(line.substr(eq + 1)), 1);
        if (!v) {
            qCWarning(lcVmouse) << "state file: malformed plugged value; plugging unchanged";
            return std::nullopt;
        }
        return *v != 0;
    }
    return std::nullopt;
}

std::optional<std::string> readTextFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return text.str();
}

bool writeTextFileAtomically(const std::string &path, const std::string &text)
{
    const std::string temp = path + ".tmp." + std::to_string(::getpid());
    std::FILE *f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        qCWarning(lcVmouse, "cannot write %s: %s", temp.c_str(), std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        qCWarning(lcVmouse, "cannot replace %s: %s", path.c_str(), std::strerror(errno));
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace vmouse
