#include "support/NetworkNamespace.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#if defined(__linux__)
#include <fcntl.h>
#include <net/if.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace testsupport {

#if defined(__linux__)

namespace {

enum Stage : int
{
    Done,
    NoNamespace,
    SetupFailed,
    BodyThrew
};

struct Report
{
    int stage = Done;
    int error = 0;
    int value = 0;
    long long elapsedMs = 0;
    long echoRequests = -1;
    int fdsLeaked = 0;
    bool childrenLeft = false;
};

bool WriteProc(const char* path, const char* value)
{
    std::ofstream out(path);
    out << value;
    out.flush();
    return static_cast<bool>(out);
}

bool BringLoopbackUp()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool ok = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
    ok = ok && ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    ::close(fd);
    return ok;
}

// The namespace's own counter, as /proc/net follows the reader's namespace.
long EchoRequestsSent()
{
    std::ifstream snmp("/proc/net/snmp");
    std::string header;
    std::string values;
    while (std::getline(snmp, header)) {
        if (header.rfind("Icmp:", 0) == 0 && std::getline(snmp, values))
            break;
    }
    std::istringstream names(header);
    std::istringstream numbers(values);
    std::string name;
    std::string number;
    while (names >> name && numbers >> number) {
        if (name == "OutEchos")
            return std::stol(number);
    }
    return -1;
}

int OpenDescriptors()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

[[noreturn]] void RunChild(int out, const std::function<int()>& body, NetworkSetup setup)
{
    Report report;
    if (::unshare(CLONE_NEWNET) != 0) {
        report.stage = NoNamespace;
        report.error = errno;
    } else if (!BringLoopbackUp() ||
               (setup.ignoreEchoRequests && !WriteProc("/proc/sys/net/ipv4/icmp_echo_ignore_all", "1")) ||
               (setup.allowDatagramPing &&
                !WriteProc("/proc/sys/net/ipv4/ping_group_range", "0 2147483647"))) {
        report.stage = SetupFailed;
        report.error = errno;
    } else {
        try {
            const int fdsBefore = OpenDescriptors();
            const long echoesBefore = EchoRequestsSent();
            const auto start = std::chrono::steady_clock::now();
            report.value = body();
            const auto end = std::chrono::steady_clock::now();
            report.elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count();
            report.echoRequests = EchoRequestsSent() - echoesBefore;
            report.fdsLeaked = OpenDescriptors() - fdsBefore;
            report.childrenLeft = ::waitpid(-1, nullptr, WNOHANG) != -1 || errno != ECHILD;
        } catch (...) {
            report.stage = BodyThrew;
        }
    }
    [[maybe_unused]] const auto written = ::write(out, &report, sizeof report);
    ::_exit(0);
}

} // namespace

IsolatedOutcome RunInOwnNetwork(const std::function<int()>& body, NetworkSetup setup)
{
    IsolatedOutcome outcome;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        outcome.whyNot = "pipe failed";
        return outcome;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        RunChild(fds[1], body, setup);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        outcome.whyNot = "fork failed";
        return outcome;
    }

    Report report;
    report.stage = -1;
    pollfd pfd{fds[0], POLLIN, 0};
    if (::poll(&pfd, 1, 20000) == 1 && ::read(fds[0], &report, sizeof report) != sizeof report)
        report.stage = -1;
    ::close(fds[0]);
    if (report.stage == -1)
        ::kill(pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }

    switch (report.stage) {
    case Done:
        outcome.made = true;
        outcome.value = report.value;
        outcome.elapsed = std::chrono::milliseconds(report.elapsedMs);
        outcome.echoRequestsSent = report.echoRequests;
        outcome.fdsLeaked = report.fdsLeaked;
        outcome.childrenLeft = report.childrenLeft;
        break;
    case NoNamespace:
        outcome.whyNot =
            std::string("cannot make a network namespace here (needs root): ") + std::strerror(report.error);
        break;
    case SetupFailed:
        outcome.made = true;
        outcome.whyNot = std::string("setting up the namespace failed: ") + std::strerror(report.error);
        break;
    case BodyThrew:
        outcome.made = true;
        outcome.whyNot = "the body threw";
        break;
    default:
        outcome.made = true;
        outcome.whyNot = "the child hung or died";
        break;
    }
    return outcome;
}

#else

IsolatedOutcome RunInOwnNetwork(const std::function<int()>&, NetworkSetup)
{
    IsolatedOutcome outcome;
    outcome.whyNot = "network namespaces need Linux";
    return outcome;
}

#endif

} // namespace testsupport
