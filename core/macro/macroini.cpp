#include "macroini.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {

constexpr QByteArrayView Utf8Bom("\xef\xbb\xbf");

// One line of the file as QSettings splits it: start and length in the file, position of its '=' or -1.
struct IniLine
{
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = -1;
};

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isHexDigit(char c)
{
    return hexValue(c) >= 0;
}

int octValue(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

// QSettings' line rules: a line ends at a line break outside quotes, a backslash escapes the next character
// (a line break too), ';' at the start of a line comments it out and elsewhere ends it.
bool nextIniLine(QByteArrayView data, qsizetype &pos, IniLine &line)
{
    const qsizetype size = data.size();
    bool inQuotes = false;
    line.equals = -1;
    line.start = pos;
    while (line.start < size && isSpace(data[line.start]))
        ++line.start;

    qsizetype i = line.start;
    while (i < size) {
        const char ch = data[i++];
        if (ch == '=') {
            if (!inQuotes && line.equals == -1)
                line.equals = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == line.start + 1) {
                ++line.start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char escaped = data[i++];
                if (i < size) {
                    const char next = data[i];
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (ch == ';') {
            if (i == line.start + 1) {
                while (i < size && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < size && isSpace(data[i]))
                    ++i;
                line.start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    line.length = i - line.start;
    return line.length > 0;
}

// The entries (key = value lines) of the file, section headers and comments left out.
QList<IniLine> iniEntries(QByteArrayView data)
{
    QList<IniLine> entries;
    qsizetype pos = data.startsWith(Utf8Bom) ? Utf8Bom.size() : 0;
    IniLine line;
    while (nextIniLine(data, pos, line)) {
        if (data[line.start] != '[' && line.equals >= 0)
            entries.append(line);
    }
    return entries;
}

// The strings QSettings makes of a value, before it turns each into a variant: one, or the items of a list
// (commas outside quotes). The same unescaping as QSettings', down to its quirks.
QStringList iniValueStrings(QByteArrayView value)
{
    static constexpr char EscapeCodes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                              {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                              {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    QStringList items;
    QString current;
    bool isList = false;
    bool inQuotes = false;
    bool currentIsQuoted = false;
    qsizetype i = 0;
    const qsizetype size = value.size();

    const auto skipSpaces = [&] {
        while (i < size && (value[i] == ' ' || value[i] == '\t'))
            ++i;
    };
    const auto chopTrailingSpaces = [&](qsizetype limit) {
        while (current.size() > limit && (current.back() == u' ' || current.back() == u'\t'))
            current.chop(1);
    };

    skipSpaces();
    qsizetype chopLimit = 0;
    while (i < size) {
        const char ch = value[i];
        if (ch == '\\') {
            ++i;
            if (i >= size)
                break;
            const char code = value[i++];
            bool named = false;
            for (const auto &escape : EscapeCodes) {
                if (code == escape[0]) {
                    current += QLatin1Char(escape[1]);
                    named = true;
                    break;
                }
            }
            if (named) {
                chopLimit = current.size();
                continue;
            }
            if (code == 'x' && i < size && isHexDigit(value[i])) {
                char16_t unit = 0;
                while (i < size && hexValue(value[i]) >= 0)
                    unit = char16_t((unit << 4) + hexValue(value[i++]));
                current += QChar(unit);
            } else if (octValue(code) >= 0) {
                auto unit = char16_t(octValue(code));
                while (i < size && octValue(value[i]) >= 0)
                    unit = char16_t((unit << 3) + octValue(value[i++]));
                current += QChar(unit);
            } else if (code == '\n' || code == '\r') {
                if (i < size && (value[i] == '\n' || value[i] == '\r') && value[i] != code)
                    ++i;
            }
            chopLimit = current.size();
        } else if (ch == '"') {
            ++i;
            currentIsQuoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipSpaces();
                chopLimit = current.size();
            }
        } else if (ch == ',' && !inQuotes) {
            if (!currentIsQuoted)
                chopTrailingSpaces(chopLimit);
            isList = true;
            items.append(current);
            current.clear();
            currentIsQuoted = false;
            ++i;
            skipSpaces();
            chopLimit = 0;
        } else {
            qsizetype j = i + 1;
            while (j < size && value[j] != '\\' && value[j] != '"' && value[j] != ',')
                ++j;
            current += QString::fromUtf8(value.sliced(i, j - i));
            i = j;
        }
    }
    if (!currentIsQuoted)
        chopTrailingSpaces(chopLimit);
    items.append(current);
    return isList ? items : QStringList{current};
}

// What QSettings would hand to QDataStream.
bool isStreamedValue(const QString &item)
{
    return item.endsWith(u')') &&
           (item.startsWith(QLatin1String("@Variant(")) || item.startsWith(QLatin1String("@DateTime(")));
}

qsizetype lineBreakLength(QByteArrayView data, qsizetype at)
{
    if (at < data.size() && data[at] == '\r')
        return at + 1 < data.size() && data[at + 1] == '\n' ? 2 : 1;
    return at < data.size() && data[at] == '\n' ? 1 : 0;
}

QByteArray escapedUnits(QStringView text)
{
    QByteArray out;
    for (const QChar unit : text)
        out += "\\x" + QByteArray::number(unit.unicode(), 16);
    return out;
}

// One value with its non-ASCII characters escaped; nullopt when it is not UTF-8.
std::optional<QByteArray> qt4EscapedValue(QByteArrayView value)
{
    QByteArray out;
    bool escapeNextIfHexDigit = false;
    qsizetype i = 0;
    while (i < value.size()) {
        const auto byte = uchar(value[i]);
        if (byte >= 0x80) {
            qsizetype end = i;
            while (end < value.size() && uchar(value[end]) >= 0x80)
                ++end;
            // A run of bytes from 0x80 up is whole UTF-8 sequences or no UTF-8 at all.
            QStringDecoder decoder(QStringDecoder::Utf8,
                                   QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
            const QString text = decoder.decode(value.sliced(i, end - i));
            if (decoder.hasError())
                return std::nullopt;
            out += escapedUnits(text);
            escapeNextIfHexDigit = true;
            i = end;
        } else if (escapeNextIfHexDigit && isHexDigit(char(byte))) {
            // Readers take every hex digit after \x as part of the escape.
            out += escapedUnits(QString(QLatin1Char(char(byte))));
            ++i;
        } else if (byte == '\\' && i + 1 < value.size()) {
            // An escape QSettings wrote stays whole.
            out += value.sliced(i, 2);
            escapeNextIfHexDigit = false;
            i += 2;
        } else {
            out += char(byte);
            escapeNextIfHexDigit = false;
            ++i;
        }
    }
    return out;
}

} // namespace

QByteArray iniWithoutStreamedValues(const QByteArray &ini, QStringList *droppedKeys)
{
    QByteArray out;
    qsizetype copied = 0;
    for (const IniLine &entry : iniEntries(ini)) {
        const qsizetype valueStart = entry.equals + 1;
        const QStringList items =
            iniValueStrings(QByteArrayView(ini).sliced(valueStart, entry.start + entry.length - valueStart));
        if (std::none_of(items.cbegin(), items.cend(), isStreamedValue))
            continue;
        if (droppedKeys)
            droppedKeys->append(
                QString::fromUtf8(ini.sliced(entry.start, entry.equals - entry.start).trimmed()));
        out += QByteArrayView(ini).sliced(copied, entry.start - copied);
        const qsizetype end = entry.start + entry.length;
        copied = end + lineBreakLength(ini, end);
    }
    if (copied == 0)
        return ini;
    out += QByteArrayView(ini).sliced(copied);
    return out;
}

QByteArray iniWithQt4Escapes(const QByteArray &ini)
{
    QByteArray out;
    qsizetype copied = 0;
    for (const IniLine &entry : iniEntries(ini)) {
        const qsizetype valueStart = entry.equals + 1;
        const QByteArrayView value =
            QByteArrayView(ini).sliced(valueStart, entry.start + entry.length - valueStart);
        if (std::all_of(value.cbegin(), value.cend(), [](char c) { return uchar(c) < 0x80; }))
            continue;
        const std::optional<QByteArray> escaped = qt4EscapedValue(value);
        if (!escaped)
            return ini;
        out += QByteArrayView(ini).sliced(copied, valueStart - copied);
        out += *escaped;
        copied = valueStart + value.size();
    }
    if (copied == 0)
        return ini;
    out += QByteArrayView(ini).sliced(copied);
    return out;
}
