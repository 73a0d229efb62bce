#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

class QAbstractScrollArea;
class QAction;
class QLabel;
class QMenu;

// Placing controls at fixed coordinates, each under the object name the program and
// its tests find it by. The windows are laid out in pixels, not by layouts.
namespace ui {

class FlatButton;
class GradientStrip;

template <typename T> T* Named(T* object, const char* name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// A label as large as its text.
QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y);
// A bold label of one line whose text is set later.
QLabel* AddBoldLabel(QWidget* parent, const char* name, int x, int y, int width);
FlatButton* AddButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry);
// A small picture, such as a flag, shrunk into its rectangle.
QLabel* AddFlag(QWidget* parent, const char* name, const QRect& geometry);
// The header band above a file list: the list's own headers are hidden.
GradientStrip* AddHeaderBand(QWidget* parent, const char* name, const QRect& geometry);

void SetBold(QWidget* widget);

QAction* AddMenuItem(QMenu* menu, const char* name, const char* caption);
void AddMenuSeparator(QMenu* menu, const char* name);
// Opens the menu where the list is right-clicked.
void AttachContextMenu(QAbstractScrollArea* owner, QMenu* menu);

} // namespace ui
