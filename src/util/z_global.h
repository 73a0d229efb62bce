#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The program's run-time state and the small routines that several parts share.
namespace util {

// Every text the program keeps from settings and profile files is cut to this.
inline constexpr std::size_t kMaxTextLength = 255;

// Twelve colours of the design in force, 0xRRGGBB, in the order in which
// settings/Designs.cpp lists them for each design.
struct DesignPalette
{
    std::uint32_t windowBackground = 0;
    std::uint32_t headerBandStart = 0;
    std::uint32_t headerBandEnd = 0;
    std::uint32_t buttonFace = 0;
    std::uint32_t buttonPressed = 0;
    std::uint32_t buttonHover = 0;
    std::uint32_t inputField = 0;
    std::uint32_t startCheckBox = 0;
    std::uint32_t intervalCheckBox = 0;
    std::uint32_t germanRadioButton = 0;
    std::uint32_t englishRadioButton = 0;
    std::uint32_t bars = 0;
};

// One instance for the whole run (see Global()): what the start-up found and the
// user chose since (folders, host names, language, profile, start files, switches),
// read by every layer above instead of being passed along each call.
struct RuntimeState
{
    std::string AccountDomain;
    std::string UserName;
    std::string UserDataFolder;
    std::string LocalFolderGerman;
    std::string ServerFolderGerman;
    std::string LocalFolderEnglish;
    std::string ServerFolderEnglish;
    std::string HostNameGerman;
    std::string HostNameEnglish;
    std::string ChosenProfileGerman;
    std::string ChosenProfileEnglish;
    int LanguageFlag = 1; // 1 German, 0 English
    std::string CurrentLocalFolder;
    std::string CurrentServerFolder;
    std::string CurrentProfile;
    std::string CurrentSetStartFile;
    std::string ProfileStartFile;
    int DesignIndex = 0;
    DesignPalette Palette;
    bool CompareWithServer = false;
};

RuntimeState& Global();

// Fills identity, empties the start file of the current set and clears
// CompareWithServer: the module's start-up step, run before any window exists.
// Tests call it again to start from a fresh state.
void InitialiseGlobalState();

// Cut to the first kMaxTextLength characters (code points; a cut never splits a
// UTF-8 sequence).
std::string CutText(std::string_view text, std::size_t maxChars = kMaxTextLength);

std::string QueryAccountDomain();
std::string QueryUserName();

bool IsValidName(std::string_view name);

// Permanently deletes a file or a whole folder, without asking. True on success.
bool DeletePathSilently(const std::string& path);

enum ReplaceOptions : int
{
    ReplaceIgnoreCase = 1,
    ReplacePreserveCase = 2,
};
std::string ReplaceText(std::string_view source, std::string_view pattern, std::string_view replacement,
                        int maxCount, int options);

// The application installs the pump that processes pending window messages; the
// core itself knows nothing of the window system. Without one installed the wait
// only lets the time pass.
using MessagePump = std::function<void()>;
void InstallMessagePump(MessagePump pump);

// Millisecond tick counter (32 bits, wraps around). Tests install their own.
using TickSource = std::function<std::uint32_t()>;
void InstallTickSource(TickSource ticks);

void DelayWithMessages(int milliseconds);

// Processes the pending window messages once, through the installed pump.
void PumpMessages();

std::string WithTrailingDelimiter(std::string_view path);

// German name of the kind of drive or mount that the path lies on.
std::string DriveTypeText(const std::string& path);

} // namespace util
