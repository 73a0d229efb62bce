#pragma once

#include "util/Outcome.h"

#include <ostream>

// Readable failure output for outcomes compared in tests.
namespace util {

inline const char* CodeName(OutcomeCode code)
{
    switch (code) {
    case OutcomeCode::Done:
        return "Done";
    case OutcomeCode::Nothing:
        return "Nothing";
    case OutcomeCode::Refused:
        return "Refused";
    case OutcomeCode::Failed:
        return "Failed";
    }
    return "?";
}

template <typename Value> void PrintTo(const Outcome<Value>& outcome, std::ostream* os)
{
    *os << CodeName(outcome.code);
    if (!outcome.message.empty())
        *os << " \"" << outcome.message << "\"";
}

} // namespace util
