#include "util/OperationGate.h"

#include <algorithm>

namespace util {

bool OperationGate::TryBegin(Request request)
{
    if (m_depth == 0) {
        ++m_depth;
        return true;
    }
    if (request == Request::Command) {
        ++m_refused;
    } else if (std::find(m_deferred.begin(), m_deferred.end(), request) == m_deferred.end()) {
        m_deferred.push_back(request);
    }
    return false;
}

void OperationGate::End()
{
    if (--m_depth > 0)
        return;
    // The put-off refreshes run in the order they were asked for, each through the
    // gate again, so one that pumps messages is protected like any other.
    while (!m_deferred.empty() && m_depth == 0) {
        const Request next = m_deferred.front();
        m_deferred.erase(m_deferred.begin());
        if (m_runner)
            m_runner(next);
    }
}

} // namespace util
