#include "platform/Launcher.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr const char* kPresentationProgram = "soffice";
constexpr const char* kOpenProgram = "xdg-open";

// A relative path could start with '-' and be read as an option; an absolute one
// never does.
std::string AbsolutePath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.string();
}

// The program's file, looked up on PATH as a shell would; empty when not found.
// Empty PATH entries would mean the current folder and are skipped on purpose.
std::string FindOnPath(const std::string& program)
{
    const char* pathVariable = std::getenv("PATH");
    const std::string path = pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string folder = path.substr(start, end - start);
        if (!folder.empty()) {
            std::string candidate = folder;
            candidate.append("/").append(program);
            struct stat info
            {
            };
            if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                ::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

void WriteErrno(int fd, int error)
{
    while (::write(fd, &error, sizeof error) < 0 && errno == EINTR) {
    }
}

// Double fork: the intermediate child ends at once and is reaped here, so the
// started program is adopted by init and never becomes our zombie. A pipe that
// closes on exec tells whether exec itself worked.
int SpawnDetached(const std::string& executable, const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return errno;
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return error;
    }
    if (child == 0) {
        // Only async-signal-safe calls from here on: the parent may have threads.
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild < 0) {
            WriteErrno(report[1], errno);
            ::_exit(1);
        }
        if (grandchild > 0)
            ::_exit(0);
        const int devNull = ::open("/dev/null", O_RDONLY);
        if (devNull > 0) {
            ::dup2(devNull, 0);
            ::close(devNull);
        }
#ifdef CLOSE_RANGE_CLOEXEC
        // Nothing of ours (sockets, files) is handed on to the started program.
        ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        struct sigaction defaultAction
        {
        };
        defaultAction.sa_handler = SIG_DFL;
        ::sigaction(SIGPIPE, &defaultAction, nullptr);
        ::sigaction(SIGCHLD, &defaultAction, nullptr);
        ::execv(executable.c_str(), argv.data());
        WriteErrno(report[1], errno);
        ::_exit(127);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error))
        return error == 0 ? EIO : error;
    return 0;
}

} // namespace

LaunchCommand BuildLaunchCommand(const LaunchRequest& request)
{
    const std::string path = AbsolutePath(request.path);
    // The presentation program needs no switch of its own for the show: its option
    // says it. The switch of the request stays unused here.
    switch (request.action) {
    case LaunchAction::SlideShow:
        return {
            kPresentationProgram, "LibreOffice Impress", {kPresentationProgram, "--nologo", "--show", path}};
    case LaunchAction::Edit:
        return {kPresentationProgram, "LibreOffice Impress", {kPresentationProgram, "--nologo", "-o", path}};
    case LaunchAction::OpenAssociated:
        break;
    }
    return {kOpenProgram, "Öffnen mit dem zugeordneten Programm", {kOpenProgram, path}};
}

std::string Launch(const LaunchRequest& request)
{
    const LaunchCommand command = BuildLaunchCommand(request);
    const std::string executable = FindOnPath(command.program);
    if (executable.empty())
        return "Das Programm \"" + command.program + "\" (" + command.description +
               ") ist nicht installiert.";
    if (const int error = SpawnDetached(executable, command.arguments))
        return "Das Programm \"" + command.program +
               "\" konnte nicht gestartet werden: " + std::strerror(error);
    return {};
}

} // namespace platform
