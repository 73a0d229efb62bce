#pragma once

#include <QString>
#include <memory>

class QSettings;

class QWidget;

// Keeps the main window's position (not its size) in the platform's native
// settings store, under company / product / subkey, as values named after the
// window's object name: "<name>.Left", ".Top", ".State" and ".Caption".
class TFormSizeSave
{
public:
    explicit TFormSizeSave(QWidget* form, QString company = QStringLiteral("Travenil"),
                           QString product = QStringLiteral("quintorPPP"),
                           QString subkey = QStringLiteral("FormPosition"));

    void Restore();
    void Save();

    // 0 normal, 1 minimised, 2 maximised.
    static int StateCode(const QWidget* form);

private:
    std::unique_ptr<QSettings> Open() const;

    QWidget* m_form;
    QString m_company;
    QString m_product;
    QString m_subkey;
};
