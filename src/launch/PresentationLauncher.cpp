#include "launch/PresentationLauncher.h"

namespace launch {
namespace {

std::shared_ptr<PresentationLauncher>& Installed()
{
    static std::shared_ptr<PresentationLauncher> launcher;
    return launcher;
}

} // namespace

std::string PlatformLauncher::Launch(const platform::LaunchRequest& request)
{
    return platform::Launch(request);
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
