#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace testsupport {

struct NetworkSetup
{
    bool ignoreEchoRequests = false; // the namespace's hosts stay silent to pings
    bool allowDatagramPing = false;  // unprivileged ICMP sockets allowed for every group
};

struct IsolatedOutcome
{
    bool made = false;  // false: the machine cannot make a namespace; see whyNot
    std::string whyNot; // also set when the child failed after the namespace existed
    int value = 0;      // what the body returned
    std::chrono::milliseconds elapsed{};
    long echoRequestsSent = -1; // ICMP echo requests that left the namespace's stack
    int fdsLeaked = 0;          // descriptors open after the body that were not before
    bool childrenLeft = false;  // the body left a child process (running or zombie)
};

// Runs body in a forked child inside a fresh network namespace with only loopback,
// up; nothing it sends can leave the machine. Reports what the body returned along
// with its running time and the traces it left.
IsolatedOutcome RunInOwnNetwork(const std::function<int()>& body, NetworkSetup setup = {});

} // namespace testsupport
