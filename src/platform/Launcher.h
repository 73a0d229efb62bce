#pragma once

#include <string>
#include <vector>

// Starting the programs that show, open and edit presentations. The program never
// waits for them and keeps no handle: a started program lives on by itself.
namespace platform {

enum class LaunchAction
{
    SlideShow,      // full-screen show of a presentation
    OpenAssociated, // whatever the desktop opens this kind of file with
    Edit,           // the presentation program, for editing
};

struct LaunchRequest
{
    LaunchAction action = LaunchAction::OpenAssociated;
    // The file's full path, as bytes of the file system.
    std::string path;
    // The slide-show switch ("/S" or "/s"); a backend whose program needs no switch
    // ignores it.
    std::string slideShowSwitch;

    bool operator==(const LaunchRequest&) const = default;
};

// What a backend runs for a request: the program looked up by name, a description
// of it for messages, and the whole argument vector (the first element is the
// program's name). Every element reaches the program as one argument, unchanged.
struct LaunchCommand
{
    std::string program;
    std::string description;
    std::vector<std::string> arguments;
};

LaunchCommand BuildLaunchCommand(const LaunchRequest& request);

// Starts the command of the request, detached from this process. Empty when the
// program was started, else a German message for the user (program not installed,
// start refused).
std::string Launch(const LaunchRequest& request);

} // namespace platform
