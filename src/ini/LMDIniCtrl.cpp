// Hand-written rather than taken from a library: inih only reads (and folds
// indented lines and inline ';' comments), SimpleIni writes the whole file anew.
// Neither leaves the lines it does not change byte for byte as they were.
#include "ini/LMDIniCtrl.h"

#include "platform/AtomicFile.h"
#include "text/Utf8.h"
#include "text/Utf8Path.h"
#include "util/z_global.h"

#include <charconv>
#include <climits>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace ini {
namespace {

constexpr std::size_t kMaxReadLength = 2047;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s)
{
    constexpr std::string_view blanks = " \t\r\v\f";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EqualNames(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

struct RawLine
{
    std::string_view text; // without its line ending
    std::string_view ending;
};

std::vector<RawLine> SplitLines(std::string_view content)
{
    std::vector<RawLine> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const auto lf = content.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.push_back({content.substr(start), {}});
            break;
        }
        std::size_t end = lf;
        if (end > start && content[end - 1] == '\r')
            --end;
        lines.push_back({content.substr(start, end - start), content.substr(end, lf + 1 - end)});
        start = lf + 1;
    }
    return lines;
}

enum class LineKind
{
    Other,
    Comment,
    Section,
    Key,
};

struct ParsedLine
{
    LineKind kind = LineKind::Other;
    std::string name;
    std::string value;
};

// Settings and profile files written by older installations are in Windows-1252;
// each line is read as UTF-8 where its bytes are valid UTF-8 and as Windows-1252
// where not, so both kinds of file keep working.
ParsedLine ParseLine(std::string_view raw)
{
    const std::string decoded = text::Windows1252FallbackToUtf8(raw);
    const std::string_view text = Trim(decoded);
    ParsedLine line;
    if (text.empty())
        return line;
    if (text.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (text.front() == '[') {
        const auto close = text.find(']');
        line.kind = LineKind::Section;
        line.name =
            Trim(text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    } else if (const auto eq = text.find('='); eq != std::string_view::npos) {
        line.kind = LineKind::Key;
        line.name = Trim(text.substr(0, eq));
        line.value = Trim(text.substr(eq + 1));
    }
    return line;
}

struct Lookup
{
    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> keyLine;
    std::optional<std::size_t> lastKeyLine; // of the section found
    std::string value;
};

// Only the first section of the name counts, and in it the first key.
Lookup Find(const std::vector<RawLine>& lines, std::string_view section, std::string_view key)
{
    Lookup found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ParsedLine line = ParseLine(lines[i].text);
        if (line.kind == LineKind::Section) {
            if (found.sectionLine)
                break;
            if (EqualNames(line.name, section))
                found.sectionLine = i;
        } else if (line.kind == LineKind::Key && found.sectionLine) {
            found.lastKeyLine = i;
            if (!found.keyLine && EqualNames(line.name, key)) {
                found.keyLine = i;
                found.value = std::move(line.value);
            }
        }
    }
    return found;
}

enum class LoadResult
{
    Missing,
    Loaded,
    Unreadable,
};

LoadResult LoadFile(const std::string& path, std::string& content)
{
    content.clear();
    std::error_code ec;
    const auto status = std::filesystem::status(text::PathFromUtf8(path), ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return LoadResult::Missing;
    if (ec || status.type() != std::filesystem::file_type::regular)
        return LoadResult::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return LoadResult::Unreadable;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? LoadResult::Unreadable : LoadResult::Loaded;
}

std::string_view WithoutBom(std::string_view content)
{
    return content.starts_with(kUtf8Bom) ? content.substr(kUtf8Bom.size()) : content;
}

std::optional<std::string> StoredValue(const std::string& path, std::string_view section,
                                       std::string_view key)
{
    std::string content;
    if (LoadFile(path, content) != LoadResult::Loaded)
        return std::nullopt;
    Lookup found = Find(SplitLines(WithoutBom(content)), section, key);
    if (!found.keyLine)
        return std::nullopt;
    return std::move(found.value);
}

bool Storable(std::string_view section, std::string_view key, std::string_view value)
{
    const auto hasLineBreak = [](std::string_view s) {
        return s.find_first_of("\r\n") != std::string_view::npos;
    };
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        return false;
    if (section.find(']') != std::string_view::npos)
        return false;
    const std::string_view trimmedKey = Trim(key);
    return !trimmedKey.empty() && trimmedKey.front() != ';' && trimmedKey.front() != '[' &&
           key.find('=') == std::string_view::npos;
}

// The file's content with the key set; every other line stays as it was.
std::string WithValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value)
{
    const std::string_view bom = content.substr(0, content.size() - WithoutBom(content).size());
    std::vector<RawLine> lines = SplitLines(WithoutBom(content));
    std::string_view newline = "\n";
    for (const RawLine& line : lines) {
        if (!line.ending.empty()) {
            newline = line.ending;
            break;
        }
    }

    std::deque<std::string> added; // owns the text of new lines; a deque keeps it in place
    const Lookup found = Find(lines, section, key);
    if (found.keyLine) {
        // Keep the key as spelt in the file, and the blanks around '='.
        const std::string_view old = lines[*found.keyLine].text;
        std::size_t valueStart = old.find('=') + 1;
        while (valueStart < old.size() && (old[valueStart] == ' ' || old[valueStart] == '\t'))
            ++valueStart;
        added.push_back(std::string(old.substr(0, valueStart)).append(value));
        lines[*found.keyLine].text = added.back();
    } else {
        const std::size_t insertAt =
            found.sectionLine ? found.lastKeyLine.value_or(*found.sectionLine) + 1 : lines.size();
        if (insertAt > 0 && lines[insertAt - 1].ending.empty())
            lines[insertAt - 1].ending = newline;
        added.push_back(std::string(key).append("=").append(value));
        std::vector<RawLine> inserted;
        if (!found.sectionLine) {
            added.push_back("[" + std::string(section) + "]");
            inserted.push_back({added.back(), newline});
        }
        inserted.push_back({added.front(), newline});
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), inserted.begin(), inserted.end());
    }

    std::string out(bom);
    out.reserve(content.size() + key.size() + value.size() + section.size() + 8);
    for (const RawLine& line : lines)
        out.append(line.text).append(line.ending);
    return out;
}

} // namespace

IniWriteError::IniWriteError(const std::string& path)
    : std::runtime_error("nach " + path + " kann nicht geschrieben werden"), m_path(path)
{}

void TLMDIniCtrl::SetFileName(const std::string& path)
{
    m_fileName = path;
    if (!path.empty() && !text::PathFromUtf8(path).has_extension())
        m_fileName += ".INI";
}

std::string TLMDIniCtrl::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const
{
    const auto stored = StoredValue(m_fileName, section, key);
    return util::CutText(stored ? std::string_view(*stored) : defaultValue, kMaxReadLength);
}

int TLMDIniCtrl::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    const auto stored = StoredValue(m_fileName, section, key);
    if (!stored)
        return defaultValue;
    return ParseIniInteger(*stored).value_or(defaultValue);
}

bool TLMDIniCtrl::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TLMDIniCtrl::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    if (!Storable(section, key, value))
        throw IniWriteError(m_fileName);
    if (m_writeGate && !m_writeGate())
        return;
    std::string content;
    // A file that is there but cannot be read must not be replaced by one that
    // holds only the new key.
    if (LoadFile(m_fileName, content) == LoadResult::Unreadable)
        throw IniWriteError(m_fileName);
    if (!platform::WriteFileAtomically(m_fileName, WithValue(content, section, key, value)))
        throw IniWriteError(m_fileName);
}

TLMDIniCtrl TLMDIniCtrl::GatedCopy() const
{
    TLMDIniCtrl copy(*this);
    if (m_writeGate) {
        const bool open = m_writeGate();
        copy.m_writeGate = [open] { return open; };
    }
    return copy;
}

void TLMDIniCtrl::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TLMDIniCtrl::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

std::optional<int> ParseIniInteger(std::string_view text)
{
    const auto parseAll = [](std::string_view digits, auto& number, int base) {
        const char* end = digits.data() + digits.size();
        const auto [ptr, ec] = std::from_chars(digits.data(), end, number, base);
        return ec == std::errc() && ptr == end;
    };
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        unsigned long long number = 0;
        if (!parseAll(text.substr(2), number, 16) || number > static_cast<unsigned long long>(INT_MAX))
            return std::nullopt;
        return static_cast<int>(number);
    }
    int number = 0;
    if (text.empty() || !parseAll(text, number, 10))
        return std::nullopt;
    return number;
}

} // namespace ini
