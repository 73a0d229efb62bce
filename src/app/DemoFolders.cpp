#include "app/DemoFolders.h"

#include "ini/LMDIniCtrl.h"
#include "profiles/ProfileStore.h"
#include "settings/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <array>

// The demonstration's files are built into the program; a static library's
// resources are registered by hand, outside any namespace.
static void RegisterDemoFiles()
{
    Q_INIT_RESOURCE(demo);
}

namespace demo {
namespace {

struct DemoFile
{
    const char* folder;   // below the root
    const char* name;     // in that folder
    const char* resource; // contents
    QDate date;           // last-write day, 10:00 local time
};

const QDate kOlder(2026, 1, 15);
const QDate kMiddle(2026, 2, 10);
const QDate kNewer(2026, 3, 2);

// identical, newer on the server, missing locally, only local; in both languages.
const std::array<DemoFile, 12> kFiles{{
    {"deutsch/server", "Willkommen.pptx", ":/demo/Willkommen.pptx", kOlder},
    {"deutsch/lokal", "Willkommen.pptx", ":/demo/Willkommen.pptx", kOlder},
    {"deutsch/server", "Produktvorstellung.pptx", ":/demo/Produktvorstellung.pptx", kNewer},
    {"deutsch/lokal", "Produktvorstellung.pptx", ":/demo/Produktvorstellung.pptx", kOlder},
    {"deutsch/server", "Jahresrückblick.pptx", ":/demo/Willkommen.pptx", kMiddle},
    {"deutsch/lokal", "Eigene Notizen.txt", ":/demo/Notizen.txt", kMiddle},
    {"englisch/server", "Welcome.pptx", ":/demo/Willkommen.pptx", kOlder},
    {"englisch/lokal", "Welcome.pptx", ":/demo/Willkommen.pptx", kOlder},
    {"englisch/server", "Product presentation.pptx", ":/demo/Produktvorstellung.pptx", kNewer},
    {"englisch/lokal", "Product presentation.pptx", ":/demo/Produktvorstellung.pptx", kOlder},
    {"englisch/server", "Annual review.pptx", ":/demo/Willkommen.pptx", kMiddle},
    {"englisch/lokal", "My notes.txt", ":/demo/Notizen.txt", kMiddle},
}};

bool PlaceFile(const QString& root, const DemoFile& file)
{
    const QString path =
        QDir(root).filePath(QString::fromUtf8(file.folder) + '/' + QString::fromUtf8(file.name));
    if (QFile::exists(path))
        return true;
    QFile source(QString::fromUtf8(file.resource));
    QFile target(path);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        return false;
    // Written out before the time is set, or the closing write would stamp it anew.
    if (target.write(source.readAll()) != source.size() || !target.flush())
        return false;
    return target.setFileTime(QDateTime(file.date, QTime(10, 0)), QFileDevice::FileModificationTime);
}

std::string Utf8Path(const QString& root, const char* folder)
{
    return QDir::toNativeSeparators(QDir(root).filePath(QString::fromUtf8(folder))).toStdString();
}

bool WriteSettings(const QString& root)
{
    const QString file = SettingsFile(root);
    if (!QDir().mkpath(QFileInfo(file).path()))
        return false;
    try {
        ini::TLMDIniCtrl ini(file.toStdString());
        using namespace settings::key;
        ini.WriteString(settings::kSectionAllgemein, EditLPfadDeutsch, Utf8Path(root, "deutsch/lokal"));
        ini.WriteString(settings::kSectionAllgemein, EditSPfadDeutsch, Utf8Path(root, "deutsch/server"));
        ini.WriteString(settings::kSectionAllgemein, EditLPfadEnglisch, Utf8Path(root, "englisch/lokal"));
        ini.WriteString(settings::kSectionAllgemein, EditSPfadEnglisch, Utf8Path(root, "englisch/server"));
        ini.WriteBool(settings::kSectionAllgemein, CheckBoxStart, true);
        ini::TLMDIniCtrl startFile(Utf8Path(root, "deutsch/lokal") + '/' +
                                   std::string(profiles::kProfileIniName));
        startFile.WriteString(profiles::kProfileSection, profiles::kStartFileKey, "Willkommen.pptx");
    } catch (const ini::IniWriteError&) {
        return false;
    }
    return true;
}

} // namespace

QString DefaultRoot()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("quintor3p-demo"));
}

QString SettingsHome(const QString& root)
{
    return QDir(root).filePath(QStringLiteral("einstellungen"));
}

QString SettingsFile(const QString& root)
{
    return QDir(SettingsHome(root))
        .filePath(QStringLiteral("quintorPPP/") +
                  QString::fromUtf8(settings::kSettingsFileName.data(),
                                    static_cast<qsizetype>(settings::kSettingsFileName.size())));
}

Preparation Prepare(const QString& root)
{
    if (QFile::exists(SettingsFile(root)))
        return {true, {}};
    RegisterDemoFiles();
    const auto failed = [&] {
        return Preparation{false,
                           QStringLiteral("Der Ordner für die Vorführung \"%1\" kann nicht angelegt "
                                          "werden. Bitte Schreibrechte prüfen oder den Ordner löschen.")
                               .arg(QDir::toNativeSeparators(root))};
    };
    for (const char* folder : {"deutsch/server", "deutsch/lokal", "englisch/server", "englisch/lokal"})
        if (!QDir().mkpath(QDir(root).filePath(QString::fromUtf8(folder))))
            return failed();
    // The files first: settings that exist mark a finished preparation.
    for (const DemoFile& file : kFiles)
        if (!PlaceFile(root, file))
            return failed();
    if (!WriteSettings(root))
        return failed();
    return {true, {}};
}

} // namespace demo
