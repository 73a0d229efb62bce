#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ini {

// A write that did not reach the file. The message is the one the user sees.
class IniWriteError : public std::runtime_error
{
public:
    explicit IniWriteError(const std::string& path);
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Access to one INI (private profile) file at a time. Every call opens the file,
// does its one read or write and closes it again, so a value written is on disk
// when the call returns and a value read is the file's current one.
//
// Section and key names match without regard to ASCII letter case; of duplicate
// sections or keys the first wins; keys and values are trimmed of blanks; lines
// starting with ';' are comments. Reading never fails: any problem yields the
// default. Writing changes only the line of its key and keeps every other byte.
class TLMDIniCtrl
{
public:
    TLMDIniCtrl() = default;
    explicit TLMDIniCtrl(const std::string& path) { SetFileName(path); }

    // The path is used as given; a name without extension gets ".INI".
    void SetFileName(const std::string& path);
    const std::string& FileName() const { return m_fileName; }

    // The stored text (at most 2047 characters), or the default when the file,
    // the section or the key is missing. A key with an empty value reads as "".
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Decimal, or hexadecimal after "0x"; anything else (empty, a word, too
    // large) gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // A whole number, 0 false and anything else true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Throw IniWriteError when the file cannot be written, and also for a name or
    // value that the format cannot hold (a line break; '=' in a key; ']' in a
    // section name), since writing it would damage the file.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // Asked before every write; a write it refuses is left out without an error.
    // The settings file uses it so that only one running copy of the program
    // writes it.
    using WriteGate = std::function<bool()>;
    void SetWriteGate(WriteGate gate) { m_writeGate = std::move(gate); }
    // A copy to write through on another thread: the gate, which may belong to
    // this thread, is asked now, once, and the copy keeps its answer.
    TLMDIniCtrl GatedCopy() const;

private:
    std::string m_fileName;
    WriteGate m_writeGate;
};

// How a stored whole number reads: empty when the text is not one.
std::optional<int> ParseIniInteger(std::string_view text);

} // namespace ini
