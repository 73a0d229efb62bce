#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

// Replacing a file so that a crash or a failure at any moment leaves either the
// old file or the new one, never a mixture: the content goes to a temporary file
// beside the target, is flushed to disk, and only then renamed over the target.
namespace platform {

// Writes the content through a temporary file in the target's folder. The old
// file's permissions carry over; a file that is read-only is refused. Any failure
// leaves the old file untouched and no temporary file behind; errorText (if given)
// then says what went wrong, for diagnostics.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string* errorText = nullptr);

// The same in steps, for writers that produce their content piece by piece (a
// copy, for example). Nothing is visible at the target before Commit(); an
// object destroyed without a successful Commit() removes its temporary file.
class AtomicFileWriter
{
public:
    explicit AtomicFileWriter(std::string targetPath);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool Open(std::string* errorText = nullptr);
    bool Write(std::string_view chunk, std::string* errorText = nullptr);
    bool Commit(std::string* errorText = nullptr);
    void Discard();

    // The name of the temporary file while one exists, else empty.
    std::string TemporaryPath() const;

private:
    struct State; // what the operating system needs
    std::unique_ptr<State> m_state;
};

// Fault injection for tests: the function is asked before each step and makes
// it fail by returning true. A failing Write step first writes half of its chunk,
// as a full disk would. An empty function restores normal work.
enum class AtomicWriteStep
{
    Create,
    Write,
    Sync,
    Rename,
};
void SetAtomicWriteFaultForTesting(std::function<bool(AtomicWriteStep)> fails);

} // namespace platform
