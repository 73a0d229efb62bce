#include "util/z_global.h"

#include "platform/FileSystem.h"
#include "platform/PathDelimiter.h"

namespace util {

std::string WithTrailingDelimiter(std::string_view path)
{
    std::string result(path);
    if (result.empty() || result.back() != platform::kPathDelimiter)
        result.push_back(platform::kPathDelimiter);
    return result;
}

bool DeletePathSilently(const std::string& path)
{
    return platform::DeletePathSilently(path);
}

std::string DriveTypeText(const std::string& path)
{
    switch (platform::DriveTypeOf(path)) {
    case platform::DriveType::Unknown:
        return "unbekannt";
    case platform::DriveType::NoRootDir:
        return "Laufwerk existiert nicht";
    case platform::DriveType::Removable:
        return "Wechselmedium";
    case platform::DriveType::Fixed:
        return "Festplatte";
    case platform::DriveType::Remote:
        return "Netzwerk";
    case platform::DriveType::CdRom:
        return "CD-ROM/DVD";
    case platform::DriveType::RamDisk:
        return "RAM Disk";
    }
    return "anderer Laufwerkstyp";
}

} // namespace util
