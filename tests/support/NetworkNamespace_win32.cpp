#include "support/NetworkNamespace.h"

namespace testsupport {

IsolatedOutcome RunInOwnNetwork(const std::function<int()>&, NetworkSetup)
{
    IsolatedOutcome outcome;
    outcome.whyNot = "no network namespaces on this system";
    return outcome;
}

} // namespace testsupport
