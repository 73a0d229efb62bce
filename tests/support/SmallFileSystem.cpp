#include "support/SmallFileSystem.h"

#include <cerrno>
#include <cstring>

#if defined(__linux__)
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace testsupport {

#if defined(__linux__)

namespace {

// Exit codes of the child above what a body returns.
constexpr int kNoNamespace = 200;
constexpr int kNoMount = 201;
constexpr int kThrew = 202;

} // namespace

SmallFileSystemOutcome RunWithSmallFileSystem(const std::string& mountPoint, std::size_t sizeBytes,
                                              const std::function<int()>& body)
{
    SmallFileSystemOutcome outcome;
    const pid_t pid = ::fork();
    if (pid < 0) {
        outcome.whyNot = "fork failed";
        return outcome;
    }
    if (pid == 0) {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            ::_exit(kNoNamespace);
        const std::string options = "size=" + std::to_string(sizeBytes);
        if (::mount("quintor-test", mountPoint.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0)
            ::_exit(kNoMount);
        int value = kThrew;
        try {
            value = body();
        } catch (...) {
        }
        ::_exit(value);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status)) {
        outcome.whyNot = "the child ended abnormally";
        return outcome;
    }
    const int code = WEXITSTATUS(status);
    if (code == kNoNamespace || code == kNoMount) {
        outcome.whyNot = code == kNoNamespace
                             ? "no mount namespace of our own (needs root or user namespaces)"
                             : "cannot mount a memory file system here";
        return outcome;
    }
    outcome.made = true;
    outcome.value = code;
    return outcome;
}

#else

SmallFileSystemOutcome RunWithSmallFileSystem(const std::string&, std::size_t, const std::function<int()>&)
{
    return {false, "mount namespaces are a Linux feature", -1};
}

#endif

} // namespace testsupport
