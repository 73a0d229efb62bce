#include "ui/Layout.h"

#include "ui/FlatButton.h"
#include "ui/GradientStrip.h"
#include "ui/PictureLabel.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QLabel>
#include <QMenu>

namespace ui {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* label = Named(new QLabel(text, parent), name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* AddBoldLabel(QWidget* parent, const char* name, int x, int y, int width)
{
    auto* label = Named(new QLabel(parent), name);
    SetBold(label);
    label->setGeometry(x, y, width, 16);
    return label;
}

FlatButton* AddButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* button = Named(new FlatButton(text, parent), name);
    button->setGeometry(geometry);
    return button;
}

QLabel* AddFlag(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* flag = Named(new PictureLabel(parent), name);
    flag->setGeometry(geometry);
    return flag;
}

GradientStrip* AddHeaderBand(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* band = Named(new GradientStrip(parent), name);
    band->setGeometry(geometry);
    const int offsets[] = {24, 222, 302};
    const char* captions[] = {"Dateiname", "DatumServer", "DatumLokal"};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QString::fromLatin1(captions[i]), band);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->move(offsets[i], 2);
        label->adjustSize();
    }
    return band;
}

void SetBold(QWidget* widget)
{
    QFont f = widget->font();
    f.setBold(true);
    widget->setFont(f);
}

QAction* AddMenuItem(QMenu* menu, const char* name, const char* caption)
{
    return Named(menu->addAction(QString::fromUtf8(caption)), name);
}

void AddMenuSeparator(QMenu* menu, const char* name)
{
    Named(menu->addSeparator(), name);
}

void AttachContextMenu(QAbstractScrollArea* owner, QMenu* menu)
{
    // A list hands the right click of its viewport to itself, with the position in
    // viewport coordinates; a policy set on the viewport would never be asked.
    owner->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(owner, &QWidget::customContextMenuRequested, menu,
                     [owner, menu](const QPoint& at) { menu->popup(owner->viewport()->mapToGlobal(at)); });
}

} // namespace ui
