#pragma once

#include <functional>
#include <vector>

namespace util {

// Keeps operations from interleaving. Long operations pump window messages (and
// modal boxes run their own loop), so a click or a timer tick can arrive while an
// operation is still running. The rule, in this one place:
//   - a list refresh asked for meanwhile is not run inside the running operation
//     but once after it has ended (several requests for the same list: once);
//   - any other command asked for meanwhile is refused.
// Handlers the user or a timer can start call TryBegin() first and End() when
// done; an operation that calls another handler's work directly does not go
// through the gate again.
class OperationGate
{
public:
    enum class Request
    {
        Command,
        RefreshCurrentSet,
        RefreshProfile,
    };

    // Runs a refresh that was put off; set once by the owner.
    using RefreshRunner = std::function<void(Request)>;
    void SetRefreshRunner(RefreshRunner runner) { m_runner = std::move(runner); }

    // True when the operation may run now; it must then call End().
    bool TryBegin(Request request);
    void End();

    bool Busy() const { return m_depth > 0; }
    // How many requests were refused since the start (for tests and diagnostics).
    int Refused() const { return m_refused; }

private:
    RefreshRunner m_runner;
    std::vector<Request> m_deferred;
    int m_depth = 0;
    int m_refused = 0;
};

// Pairs TryBegin/End for the scope of a handler.
class OperationScope
{
public:
    OperationScope(OperationGate& gate, OperationGate::Request request)
        : m_gate(gate), m_entered(gate.TryBegin(request))
    {}
    ~OperationScope()
    {
        if (m_entered)
            m_gate.End();
    }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    explicit operator bool() const { return m_entered; }

private:
    OperationGate& m_gate;
    bool m_entered;
};

} // namespace util
