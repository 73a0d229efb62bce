#include "launch/PresentationLauncher.h"

namespace launch {
namespace {

std::shared_ptr<PresentationLauncher>& Installed()
{
    static std::shared_ptr<PresentationLauncher> launcher;
    return launcher;
}

} // namespace

util::Outcome<> PlatformLauncher::Launch(const platform::LaunchRequest& request)
{
    std::string error = platform::Launch(request);
    if (error.empty())
        return util::Done();
    return util::Failed(std::move(error));
}

PresentationLauncher& ActiveLauncher()
{
    static PlatformLauncher platformLauncher;
    if (Installed())
        return *Installed();
    return platformLauncher;
}

void InstallLauncher(std::shared_ptr<PresentationLauncher> launcher)
{
    Installed() = std::move(launcher);
}

} // namespace launch
