#pragma once

#include <string>
#include <sys/types.h>

namespace testsupport {

// A folder that stops answering on demand, for real: a small FUSE file system of the
// tests' own shows a backing folder at `path()`, and while it is held every look-up,
// listing, open, read and write on it waits in the kernel, as on a share whose server
// has gone away. Needs a usable /dev/fuse; else `made()` is false and
// `whyNot()` says why.
class HangingFolder
{
public:
    HangingFolder(const std::string& backing, const std::string& mountPoint, const std::string& holdFile);
    ~HangingFolder(); // lets go, unmounts and ends the file system
    HangingFolder(const HangingFolder&) = delete;
    HangingFolder& operator=(const HangingFolder&) = delete;

    bool made() const { return m_pid > 0; }
    const std::string& whyNot() const { return m_whyNot; }
    const std::string& path() const { return m_mountPoint; }

    void Hold();
    void LetGo();

private:
    std::string m_mountPoint;
    std::string m_hold;
    std::string m_whyNot;
    pid_t m_pid = -1;
};

} // namespace testsupport
