#pragma once

#include "platform/UserFolders.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <filesystem>
#include <stdexcept>

// The benchmarks that make the main window never touch the real user's settings:
// the program's settings folder and Qt's settings store both go below a home
// folder of the benchmark's own. Call before the application object is made.
namespace bench {

inline void UseSettingsBelow(const std::filesystem::path& home)
{
    const std::filesystem::path config = home / ".config";
    std::filesystem::create_directories(config);
    qputenv("HOME", QByteArray::fromStdString(home.string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.string()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(config.string()));
    if (platform::UserAppDataFolder() != config.string())
        throw std::runtime_error("the settings folder is not the benchmark's own");
}

} // namespace bench
