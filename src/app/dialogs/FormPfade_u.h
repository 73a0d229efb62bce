#pragma once

#include "sync/ServerHost.h"

#include <QDialog>

class QLineEdit;
class QLabel;
namespace ini {
class TLMDIniCtrl;
}
namespace settings {
struct StorageLocations;
} // namespace settings
namespace ui {
class FlatButton;
}

// The storage-locations dialog: the local and the server folder of each language.
class TFormPfade : public QDialog
{
    Q_OBJECT
public:
    explicit TFormPfade(QWidget* parent = nullptr);

    // The settings file that OK writes to (the main window's LMDIniCtrl1).
    void SetSettingsFile(ini::TLMDIniCtrl* ini) { m_settings = ini; }
    // Where a server folder on a mounted share finds its host; the mount table by default.
    void SetMountedShareHost(filesync::MountedShareHost lookup) { m_mountedShareHost = std::move(lookup); }

    QLineEdit* EditLPfadDeutsch;
    QLineEdit* EditSPfadDeutsch;
    QLineEdit* EditLPfadenglisch;
    QLineEdit* EditSPfadenglisch;
    ui::FlatButton* EncartaButton1;
    ui::FlatButton* EncartaButton2;
    ui::FlatButton* EncartaButton3;
    ui::FlatButton* EncartaButton4;
    ui::FlatButton* EncartaButtonOK;
    ui::FlatButton* EncartaButtonAbbrechen;
    QLabel* ImageFlageD;
    QLabel* ImageFlageE;
    // The hint under the folders; says so there while a share does not answer.
    QLabel* Label6;

public slots:
    void EncartaButton1Click();
    void EncartaButton2Click();
    void EncartaButton3Click();
    void EncartaButton4Click();
    void EncartaButtonOKClick();
    void EncartaButtonAbbrechenClick();

private:
    void Browse(QLineEdit* field);
    settings::StorageLocations Fields() const;
    void ShowFields(const settings::StorageLocations& fields);
    bool EnsureLocalFolder(const std::string& path);

    ini::TLMDIniCtrl* m_settings = nullptr;
    filesync::MountedShareHost m_mountedShareHost;
};
