#pragma once

#include "app/ApplicationWindows.h"
#include "support/TempDir.h"
#include "util/FileWork.h"
#include "util/z_global.h"

#include <QAbstractItemView>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A double-click with the left button as the system delivers it: the first click,
// then the double-click.
inline void DoubleClickAt(QAbstractItemView* list, QPoint point)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
}

// In a list's empty part, below its entries.
inline void DoubleClickBelowEntries(QAbstractItemView* list)
{
    const QPoint below(10, list->viewport()->height() - 4);
    ASSERT_FALSE(list->indexAt(below).isValid()) << "the entries fill the list";
    DoubleClickAt(list, below);
}

inline void DoubleClickOn(QAbstractItemView* list, const QModelIndex& index)
{
    DoubleClickAt(list, list->visualRect(index).center());
}

// A main window on a fresh per-user folder: settings file, window-position store
// and home folder all live in a temporary folder of the test.
class FormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home / ".config").string()));
        qputenv("HOME", QByteArray::fromStdString(home.str()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString((home / ".config").string()));
        util::InitialiseGlobalState();
        // A window closed by an earlier test must not cut this test's waits short.
        util::EndClosingForTesting();
    }

    std::filesystem::path ConfigFolder() const { return home / ".config" / "quintorPPP"; }
    std::filesystem::path SettingsFile() const { return ConfigFolder() / "optionen.ini"; }

    void WriteSettings(const std::string& content)
    {
        std::filesystem::create_directories(ConfigFolder());
        testsupport::WriteFile(SettingsFile(), content);
    }

    // All five windows, as the program makes them; `form` is the main window.
    TForm1& CreateForm()
    {
        form.reset();
        windows = std::make_unique<ApplicationWindows>();
        form.reset(&windows->Form1);
        return *form;
    }

    testsupport::TempDir home;
    std::unique_ptr<ApplicationWindows> windows;
    // Points into `windows`; never owns.
    struct NoDelete
    {
        void operator()(TForm1*) const {}
    };
    std::unique_ptr<TForm1, NoDelete> form;
};
