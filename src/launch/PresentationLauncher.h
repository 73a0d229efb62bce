#pragma once

#include "platform/Launcher.h"
#include "util/Outcome.h"

#include <memory>

// What the window calls to show, open or edit a file. The program's own one hands
// the request to the platform; tests install one that records the requests.
namespace launch {

class PresentationLauncher
{
public:
    virtual ~PresentationLauncher() = default;
    // Done when the program was started, else Failed with a German message for the user.
    virtual util::Outcome<> Launch(const platform::LaunchRequest& request) = 0;
};

class PlatformLauncher : public PresentationLauncher
{
public:
    util::Outcome<> Launch(const platform::LaunchRequest& request) override;
};

// The launcher in use: the installed one, else the platform's.
PresentationLauncher& ActiveLauncher();
// Installs a launcher for the whole run; nullptr goes back to the platform's.
void InstallLauncher(std::shared_ptr<PresentationLauncher> launcher);

} // namespace launch
