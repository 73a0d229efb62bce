#include "support/HangingFolder.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace testsupport {
namespace {

bool IsMounted(const std::string& mountPoint)
{
    std::ifstream mounts("/proc/self/mountinfo");
    std::string line;
    const std::string needle = " " + mountPoint + " ";
    while (std::getline(mounts, line)) {
        if (line.find(needle) != std::string::npos && line.find("fuse") != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

HangingFolder::HangingFolder(const std::string& backing, const std::string& mountPoint,
                             const std::string& holdFile)
    : m_mountPoint(mountPoint), m_hold(holdFile)
{
#ifndef QUINTOR_HANGFS
    m_whyNot = "built without libfuse3 (install libfuse3-dev)";
    (void)backing;
#else
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        m_whyNot = "/dev/fuse is not usable here";
        return;
    }
    // Nothing cached in the kernel: every look-up asks the file system, so a hold
    // stops it at once.
    std::vector<std::string> args{
        QUINTOR_HANGFS, backing, holdFile,
        mountPoint,     "-o",    "default_permissions,entry_timeout=0,attr_timeout=0,negative_timeout=0"};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        m_whyNot = "cannot start the test file system";
        return;
    }
    for (int i = 0; i < 300 && !IsMounted(mountPoint); ++i) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            m_whyNot = "the test file system could not mount (no FUSE permission here)";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!IsMounted(mountPoint)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        m_whyNot = "the test file system did not mount within 3 s";
        return;
    }
    m_pid = pid;
#endif
}

HangingFolder::~HangingFolder()
{
    if (m_pid <= 0)
        return;
    LetGo();
    // Lazily, so that a process still inside the folder cannot keep it mounted.
    ::umount2(m_mountPoint.c_str(), MNT_DETACH);
    ::kill(m_pid, SIGTERM);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
}

void HangingFolder::Hold()
{
    std::ofstream(m_hold).put('x');
}

void HangingFolder::LetGo()
{
    ::unlink(m_hold.c_str());
}

} // namespace testsupport
