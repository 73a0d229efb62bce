#pragma once

namespace testsupport {

// True when the tests run with root rights, under which permission bits do not
// keep a folder from being read. Kept out of line so that the OS header that answers
// it stays out of the test sources.
bool RunningAsRoot();

} // namespace testsupport
