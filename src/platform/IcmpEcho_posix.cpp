#include "platform/IcmpEcho.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <stdexcept>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/icmp.h>
#endif

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint8_t kEchoReply = 0;
constexpr std::uint8_t kEchoRequest = 8;
constexpr std::size_t kIcmpHeaderSize = 8;

class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Milliseconds left until deadline, rounded up so that poll() never spins on 0 while
// time remains; 0 once it has passed.
int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

std::uint16_t InternetChecksum(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
    if (size % 2 != 0)
        sum += static_cast<std::uint32_t>(data[size - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

std::uint16_t ReadBigEndian16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

void WriteBigEndian16(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value);
}

// Requests of one process differ in their sequence number, and the random payload
// tells our reply apart from an older one or another program's.
std::uint16_t NextSequence()
{
    static std::atomic<std::uint16_t> sequence{static_cast<std::uint16_t>(std::random_device{}())};
    return sequence.fetch_add(1);
}

std::vector<std::uint8_t> RandomPayload(std::size_t size)
{
    static thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> payload(size);
    for (auto& b : payload)
        b = static_cast<std::uint8_t>(byte(generator));
    return payload;
}

sockaddr_in ToSockaddr(const Ipv4Address& address)
{
    sockaddr_in target{};
    target.sin_family = AF_INET;
    std::memcpy(&target.sin_addr, address.data(), address.size());
    return target;
}

struct Request
{
    std::uint16_t identifier = 0;
    std::uint16_t sequence = 0;
    std::vector<std::uint8_t> payload;
};

// icmp points at the ICMP message, without IP header.
bool IsReplyTo(const Request& request, const std::uint8_t* icmp, std::size_t size, bool checkIdentifier,
               bool checkChecksum)
{
    if (size != kIcmpHeaderSize + request.payload.size())
        return false;
    if (icmp[0] != kEchoReply || icmp[1] != 0)
        return false;
    if (checkIdentifier && ReadBigEndian16(icmp + 4) != request.identifier)
        return false;
    if (ReadBigEndian16(icmp + 6) != request.sequence)
        return false;
    if (checkChecksum && InternetChecksum(icmp, size) != 0)
        return false;
    return std::equal(request.payload.begin(), request.payload.end(), icmp + kIcmpHeaderSize);
}

// One echo over an ICMP socket: SOCK_DGRAM (the kernel fills in the identifier and
// hands us only the ICMP part of the replies to it) or SOCK_RAW (we see every ICMP
// packet the host receives, IP header included, and must pick ours out).
EchoResult EchoViaSocket(int socketType, const Ipv4Address& address, std::size_t payloadSize,
                         Clock::time_point deadline)
{
    Fd fd(::socket(AF_INET, socketType | SOCK_CLOEXEC, IPPROTO_ICMP));
    if (fd.get() < 0)
        return EchoResult::Unavailable;
    const bool raw = socketType == SOCK_RAW;
#if defined(__linux__)
    if (raw) {
        // Spares us waking up for every other ICMP message; purely an optimisation.
        icmp_filter filter{};
        filter.data = ~(1u << kEchoReply);
        ::setsockopt(fd.get(), SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
    }
#endif

    Request request;
    request.identifier = raw ? static_cast<std::uint16_t>(::getpid()) : 0;
    request.sequence = NextSequence();
    request.payload = RandomPayload(payloadSize);

    std::vector<std::uint8_t> packet(kIcmpHeaderSize + payloadSize);
    packet[0] = kEchoRequest;
    WriteBigEndian16(&packet[4], request.identifier);
    WriteBigEndian16(&packet[6], request.sequence);
    std::copy(request.payload.begin(), request.payload.end(), packet.begin() + kIcmpHeaderSize);
    WriteBigEndian16(&packet[2], InternetChecksum(packet.data(), packet.size()));

    const sockaddr_in target = ToSockaddr(address);
    ssize_t sent;
    do {
        sent = ::sendto(fd.get(), packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&target),
                        sizeof target);
    } while (sent < 0 && errno == EINTR);
    if (sent != static_cast<ssize_t>(packet.size()))
        return EchoResult::NoReply;

    std::vector<std::uint8_t> buffer(65536);
    for (;;) {
        const int waitMs = RemainingMs(deadline);
        if (waitMs == 0)
            return EchoResult::NoReply;
        pollfd pfd{fd.get(), POLLIN, 0};
        const int ready = ::poll(&pfd, 1, waitMs);
        if (ready < 0 && errno != EINTR)
            return EchoResult::NoReply;
        if (ready <= 0)
            continue;

        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const ssize_t received = ::recvfrom(fd.get(), buffer.data(), buffer.size(), MSG_DONTWAIT,
                                            reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (received < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return EchoResult::NoReply;
        }
        if (from.sin_family != AF_INET || std::memcmp(&from.sin_addr, address.data(), address.size()) != 0)
            continue;

        const std::uint8_t* icmp = buffer.data();
        auto icmpSize = static_cast<std::size_t>(received);
        if (raw) {
            if (icmpSize < 20 || (buffer[0] >> 4) != 4)
                continue;
            const std::size_t headerSize = static_cast<std::size_t>(buffer[0] & 0x0f) * 4;
            if (headerSize < 20 || headerSize > icmpSize)
                continue;
            icmp += headerSize;
            icmpSize -= headerSize;
        }
        // The kernel has checked the identifier of a datagram socket's replies and
        // their checksum already.
        if (IsReplyTo(request, icmp, icmpSize, raw, raw))
            return EchoResult::Reply;
    }
}

const char* FindPingProgram()
{
    for (const char* path : {"/usr/bin/ping", "/bin/ping", "/usr/sbin/ping", "/sbin/ping"}) {
        if (::access(path, X_OK) == 0)
            return path;
    }
    return nullptr;
}

// Waits for the child until deadline without touching signal handlers; kills it when
// time is up. Always reaps it. Returns the exit code, or -1 when it did not exit in time.
int WaitForChild(pid_t pid, Clock::time_point deadline)
{
    int status = 0;
    pid_t done = 0;
#if defined(SYS_pidfd_open)
    const int pidFd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    const int pidFd = -1;
#endif
    Fd pidFdGuard(pidFd);
    while ((done = ::waitpid(pid, &status, WNOHANG)) == 0) {
        const int waitMs = RemainingMs(deadline);
        if (waitMs == 0)
            break;
        if (pidFd >= 0) {
            pollfd pfd{pidFd, POLLIN, 0};
            ::poll(&pfd, 1, waitMs);
        } else {
            ::poll(nullptr, 0, std::min(waitMs, 5));
        }
    }
    if (done == pid)
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done == 0) {
        ::kill(pid, SIGKILL);
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    // done < 0: someone else reaped the child (SIGCHLD ignored); its result is lost.
    return -1;
}

class SpawnSetup
{
public:
    SpawnSetup()
    {
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        ::posix_spawnattr_destroy(&attributes);
        ::posix_spawn_file_actions_destroy(&actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

EchoResult EchoViaProgram(const Ipv4Address& address, std::size_t payloadSize,
                          std::chrono::milliseconds timeout, Clock::time_point deadline)
{
    const char* program = FindPingProgram();
    if (program == nullptr)
        return EchoResult::Unavailable;

    char addressText[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, address.data(), addressText, sizeof addressText);
    const std::string size = std::to_string(payloadSize);
    const std::string waitSeconds = std::to_string(std::max<long long>(1, (timeout.count() + 999) / 1000));
    std::vector<std::string> args{"ping", "-n", "-q",        "-c", "1",        "-s",
                                  size,   "-W", waitSeconds, "--", addressText};
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::string locale = "LC_ALL=C";
    char* envp[] = {locale.data(), nullptr};

    SpawnSetup setup;
    ::posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_adddup2(&setup.actions, 1, 2);
    // The child starts with default signal handling and nothing blocked, whatever we have.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    ::posix_spawnattr_setsigmask(&setup.attributes, &none);
    ::posix_spawnattr_setsigdefault(&setup.attributes, &all);
    ::posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    if (::posix_spawn(&pid, program, &setup.actions, &setup.attributes, argv.data(), envp) != 0)
        return EchoResult::Unavailable;
    return WaitForChild(pid, deadline) == 0 ? EchoResult::Reply : EchoResult::NoReply;
}

} // namespace

std::optional<Ipv4Address> ResolveIpv4(const std::string& hostName)
{
    if (hostName.empty() || hostName.find('\0') != std::string::npos)
        return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM; // one entry per address instead of one per socket type
    addrinfo* found = nullptr;
    if (::getaddrinfo(hostName.c_str(), nullptr, &hints, &found) != 0)
        return std::nullopt;
    std::optional<Ipv4Address> result;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr &&
            entry->ai_addrlen >= sizeof(sockaddr_in)) {
            const auto* in = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
            Ipv4Address address{};
            std::memcpy(address.data(), &in->sin_addr, address.size());
            result = address;
            break;
        }
    }
    ::freeaddrinfo(found);
    return result;
}

EchoResult SendIcmpEcho(const Ipv4Address& address, std::size_t payloadSize,
                        std::chrono::milliseconds timeout, EchoMethod method)
{
    if (payloadSize > kMaxEchoPayload)
        throw std::invalid_argument("ICMP echo payload too large");
    const auto deadline = Clock::now() + timeout;
    switch (method) {
    case EchoMethod::DatagramSocket:
        return EchoViaSocket(SOCK_DGRAM, address, payloadSize, deadline);
    case EchoMethod::RawSocket:
        return EchoViaSocket(SOCK_RAW, address, payloadSize, deadline);
    case EchoMethod::PingProgram:
        return EchoViaProgram(address, payloadSize, timeout, deadline);
    case EchoMethod::Automatic:
        break;
    }
    for (const int socketType : {SOCK_DGRAM, SOCK_RAW}) {
        const EchoResult result = EchoViaSocket(socketType, address, payloadSize, deadline);
        if (result != EchoResult::Unavailable)
            return result;
    }
    return EchoViaProgram(address, payloadSize, timeout, deadline);
}

} // namespace platform
