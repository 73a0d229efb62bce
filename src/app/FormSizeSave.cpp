#include "app/FormSizeSave.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QWidget>
#include <algorithm>

TFormSizeSave::TFormSizeSave(QWidget* form, QString company, QString product, QString subkey)
    : m_form(form), m_company(company.trimmed()), m_product(product.trimmed()), m_subkey(subkey.trimmed())
{}

int TFormSizeSave::StateCode(const QWidget* form)
{
    if (form->windowState() & Qt::WindowMinimized)
        return 1;
    if (form->windowState() & Qt::WindowMaximized)
        return 2;
    return 0;
}

QPoint TFormSizeSave::VisiblePosition(QPoint stored, QSize frameSize, int titleBarHeight,
                                      const QList<QRect>& screens, const QRect& primaryArea)
{
    QRegion uncovered(QRect(stored, QSize(frameSize.width(), std::max(titleBarHeight, 1))));
    for (const QRect& screen : screens)
        uncovered -= QRegion(screen);
    if (uncovered.isEmpty())
        return stored;
    QRect centred(QPoint(), frameSize);
    centred.moveCenter(primaryArea.center());
    // A window larger than the free area keeps its title bar inside it.
    return {std::max(centred.left(), primaryArea.left()), std::max(centred.top(), primaryArea.top())};
}

std::unique_ptr<QSettings> TFormSizeSave::Open() const
{
    // QSettings wants an organisation; with a blank company the product takes its place.
    auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             m_company.isEmpty() ? m_product : m_company,
                                             m_company.isEmpty() ? QString() : m_product);
    if (store->status() != QSettings::NoError || !store->isWritable())
        return nullptr;
    if (!m_subkey.isEmpty())
        store->beginGroup(m_subkey);
    return store;
}

void TFormSizeSave::Restore()
{
    const auto opened = Open();
    if (!opened)
        return;
    QSettings& store = *opened;
    const QString name = m_form->objectName();
    bool ok = false;
    QPoint pos = m_form->pos();
    if (const int left = store.value(name + ".Left").toInt(&ok); ok)
        pos.setX(left);
    if (const int top = store.value(name + ".Top").toInt(&ok); ok)
        pos.setY(top);
    // The stored values stay as they are; only where the window appears is checked.
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->geometry();
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
        const int titleBar = m_form->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, m_form);
        pos = VisiblePosition(pos, m_form->frameGeometry().size(), titleBar, screens,
                              primary->availableGeometry());
    }
    m_form->move(pos);
    if (const int state = store.value(name + ".State").toInt(&ok); ok) {
        if (state == 1)
            m_form->setWindowState(Qt::WindowMinimized);
        else if (state == 2)
            m_form->setWindowState(Qt::WindowMaximized);
        else
            m_form->setWindowState(Qt::WindowNoState);
    }
}

namespace {
std::function<bool()>& WriteGate()
{
    static std::function<bool()> gate;
    return gate;
}
} // namespace

void TFormSizeSave::SetWriteGate(std::function<bool()> gate)
{
    WriteGate() = std::move(gate);
}

void TFormSizeSave::Save()
{
    if (WriteGate() && !WriteGate()())
        return;
    const auto opened = Open();
    if (!opened)
        return;
    QSettings& store = *opened;
    const QString name = m_form->objectName();
    const int state = StateCode(m_form);
    // A minimised or maximised window keeps the position of its last normal state.
    if (state == 0) {
        store.setValue(name + ".Left", m_form->pos().x());
        store.setValue(name + ".Top", m_form->pos().y());
    }
    store.setValue(name + ".Caption", m_form->windowTitle());
    store.setValue(name + ".State", state);
    store.sync();
}
