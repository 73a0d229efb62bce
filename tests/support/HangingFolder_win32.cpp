#include "support/HangingFolder.h"

namespace testsupport {

HangingFolder::HangingFolder(const std::string&, const std::string& mountPoint, const std::string& holdFile)
    : m_mountPoint(mountPoint), m_hold(holdFile), m_whyNot("no file system of the tests' own on this system")
{}

HangingFolder::~HangingFolder() = default;

void HangingFolder::Hold()
{}

void HangingFolder::LetGo()
{}

} // namespace testsupport
