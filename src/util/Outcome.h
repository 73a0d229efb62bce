#pragma once

#include <string>
#include <type_traits>
#include <utility>

// How an operation of the core ended, in one shape for every caller.
namespace util {

enum class OutcomeCode
{
    Done,    // did what was asked
    Nothing, // nothing there to work on (no file, nothing marked): nothing changed, nothing shown
    Refused, // not tried: the user's entry is wrong and is to be corrected; nothing changed
    Failed,  // could not be done; what was there before is kept as far as the operation can
};

struct NoValue
{
    bool operator==(const NoValue&) const = default;
};

// The code to branch on, the German message where the user is told (empty where
// nothing is shown), and what a successful operation hands back. Which box shows
// the message is the window's choice per command. Exceptions are left for what no
// caller can handle: a settings write that does not reach the disk abandons the
// whole handler, and the application object shows it.
template <typename Value = NoValue> struct [[nodiscard]] Outcome
{
    OutcomeCode code = OutcomeCode::Done;
    std::string message;
    Value value{};

    Outcome() = default;
    Outcome(OutcomeCode code_, std::string message_ = {}, Value value_ = {})
        : code(code_), message(std::move(message_)), value(std::move(value_))
    {}
    // An outcome without a value (Nothing, Refused, Failed) answers for any operation.
    template <typename Other = Value>
    requires(!std::is_same_v<Other, NoValue>) Outcome(const Outcome<NoValue>& other)
        : code(other.code), message(other.message)
    {}

    bool IsDone() const { return code == OutcomeCode::Done; }
    bool operator==(const Outcome&) const = default;
};

inline Outcome<> Done()
{
    return {};
}
template <typename Value> Outcome<Value> Done(Value value)
{
    return {OutcomeCode::Done, {}, std::move(value)};
}
inline Outcome<> Nothing()
{
    return {OutcomeCode::Nothing};
}
inline Outcome<> Refused(std::string message)
{
    return {OutcomeCode::Refused, std::move(message)};
}
inline Outcome<> Failed(std::string message)
{
    return {OutcomeCode::Failed, std::move(message)};
}

} // namespace util
