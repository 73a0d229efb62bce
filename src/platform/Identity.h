#pragma once

#include <string>

namespace platform {

// Domain of the account that runs the process: a directory account's realm or
// domain, else the computer's name. Empty when it cannot be determined.
std::string AccountDomain();

// The logged-on user's name. Throws std::system_error when it cannot be read.
std::string UserName();

} // namespace platform
