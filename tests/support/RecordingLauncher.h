#pragma once

#include "launch/PresentationLauncher.h"

#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// Records what the window asks to start instead of starting it; answers with
// `failure` (empty: started).
class RecordingLauncher : public launch::PresentationLauncher
{
public:
    util::Outcome<> Launch(const platform::LaunchRequest& request) override
    {
        requests.push_back(request);
        if (failure.empty())
            return util::Done();
        return util::Failed(failure);
    }

    std::vector<platform::LaunchRequest> requests;
    std::string failure;
};

// Installs a recording launcher for the scope of a test.
class InstalledRecordingLauncher
{
public:
    InstalledRecordingLauncher() : m_launcher(std::make_shared<RecordingLauncher>())
    {
        launch::InstallLauncher(m_launcher);
    }
    ~InstalledRecordingLauncher() { launch::InstallLauncher(nullptr); }
    InstalledRecordingLauncher(const InstalledRecordingLauncher&) = delete;
    InstalledRecordingLauncher& operator=(const InstalledRecordingLauncher&) = delete;

    RecordingLauncher* operator->() const { return m_launcher.get(); }
    RecordingLauncher& operator*() const { return *m_launcher; }

private:
    std::shared_ptr<RecordingLauncher> m_launcher;
};

} // namespace testsupport
