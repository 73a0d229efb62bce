#pragma once

#include <cstdint>
#include <functional>

// The system's ICMP library as the echo uses it, behind a seam so that tests can
// answer in its place (some systems give no echo reply at all to a test).
namespace platform::win {

struct IcmpApi
{
    // A handle, or nullptr when the library cannot give one.
    std::function<void*()> createFile;
    // As the library's echo call: the address in network byte order; returns the
    // number of reply records written to the reply buffer, 0 when none came in time.
    std::function<unsigned long(void* handle, std::uint32_t address, const void* request,
                                unsigned short requestSize, void* replyBuffer, unsigned long replySize,
                                unsigned long timeoutMs)>
        sendEcho;
    std::function<void(void* handle)> closeHandle;
};

// The fake's functions take the place of the library's until an empty one is set.
void SetIcmpApiForTesting(IcmpApi api);

} // namespace platform::win
