#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>
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

    // Asked before every save, for all windows of the program; a refused save
    // leaves the stored position as it is.
    static void SetWriteGate(std::function<bool()> gate);

    // 0 normal, 1 minimised, 2 maximised.
    static int StateCode(const QWidget* form);

    // Where a window of the given outer width goes for a stored top-left corner:
    // there, when its whole title bar lies on the screens; otherwise centred in
    // the primary screen's free area (a position stored while a projector was
    // connected must not put the window out of reach).
    static QPoint VisiblePosition(QPoint stored, QSize frameSize, int titleBarHeight,
                                  const QList<QRect>& screens, const QRect& primaryArea);

private:
    std::unique_ptr<QSettings> Open() const;

    QWidget* m_form;
    QString m_company;
    QString m_product;
    QString m_subkey;
};
