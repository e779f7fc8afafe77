// SPDX-License-Identifier: GPL-2.0-or-later
#include "kpopupmenu.h"

#include "kpopupmenuitemsignal.h"
#include "kpopupmenutitle.h"

#include <QAction>
#include <QWidgetAction>

#include <atomic>

namespace {

// Qt 3 handed out automatic ids from one process-wide sequence starting at -2.
// Submenus thus never share an id with their parent menu.
int nextAutomaticId()
{
    static std::atomic<int> next{-2};
    return next--;
}

} // namespace

KPopupMenu::KPopupMenu(QWidget* parent, const char* name) : QMenu(parent)
{
    if (name) {
        setObjectName(QString::fromLatin1(name));
    }
    connect(this, &QMenu::triggered, this, [this](QAction* action) {
        const int id = idOf(action);
        if (id != -1) {
            Q_EMIT activated(id);
        }
    });
    connect(this, &QMenu::hovered, this, [this](QAction* action) {
        const int id = idOf(action);
        if (id != -1) {
            Q_EMIT highlighted(id);
        }
    });
}

KPopupMenu::~KPopupMenu()
{
    clear();
}

int KPopupMenu::claimId(int id)
{
    if (id != -1) {
        if (m_items.contains(id)) {
            removeItem(id); // an explicit id names one item: the newer one replaces it
        }
        return id;
    }
    int automatic = nextAutomaticId();
    while (m_items.contains(automatic)) {
        automatic = nextAutomaticId();
    }
    return automatic;
}

void KPopupMenu::placeAction(QAction* action, int index)
{
    const QList<QAction*> present = actions();
    if (index < 0 || index >= present.size()) {
        addAction(action);
    } else {
        insertAction(present.at(index), action);
    }
}

int KPopupMenu::addItem(QAction* action, const QString& text, bool owned, int id, int index)
{
    const int itemId = claimId(id);
    placeAction(action, index);
    Item item;
    item.action = action;
    item.text = text.isNull() ? QStringLiteral("") : text;
    item.owned = owned;
    m_items.insert(itemId, item);
    return itemId;
}

int KPopupMenu::insertTitle(const QPixmap& icon, const QString& text, int id, int index)
{
    auto* action = new QWidgetAction(this);
    action->setDefaultWidget(new KPopupMenuTitle(icon, text, this));
    action->setText(text);
    action->setEnabled(false);
    return addItem(action, text, true, id, index);
}

int KPopupMenu::insertTitle(const QString& text, int id, int index)
{
    return insertTitle(QPixmap(), text, id, index);
}

int KPopupMenu::insertItem(const QString& text, const QObject* receiver, const char* member,
                           const QKeySequence& accel, int id, int index)
{
    return insertItem(QPixmap(), text, receiver, member, accel, id, index);
}

int KPopupMenu::insertItem(const QPixmap& icon, const QString& text, const QObject* receiver,
                           const char* member, const QKeySequence& accel, int id, int index)
{
    auto* action = new QAction(this);
    action->setText(text);
    if (!icon.isNull()) {
        action->setIcon(QIcon(icon));
    }
    if (!accel.isEmpty()) {
        action->setShortcut(accel);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    const int itemId = addItem(action, text, true, id, index);
    if (receiver && member) {
        auto* relay = new KPopupMenuItemSignal(itemId, action);
        connect(action, &QAction::triggered, relay, &KPopupMenuItemSignal::fire);
        if (!connect(relay, SIGNAL(activated(int)), receiver, member)) {
            qWarning("KPopupMenu: cannot connect item \"%s\" to %s", qPrintable(text), member);
        }
    }
    return itemId;
}

int KPopupMenu::insertItem(const QString& text, QMenu* popup, int id, int index)
{
    if (!popup) {
        return insertItem(text, id, index);
    }
    QAction* action = popup->menuAction();
    action->setText(text);
    return addItem(action, text, false, id, index);
}

int KPopupMenu::insertItem(const QString& text, int id, int index)
{
    auto* action = new QAction(text, this);
    return addItem(action, text, true, id, index);
}

void KPopupMenu::insertSeparator(int index)
{
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    placeAction(separator, index);
}

void KPopupMenu::forgetItem(int id)
{
    const Item item = m_items.take(id);
    if (!item.action) {
        return;
    }
    removeAction(item.action);
    if (item.owned) {
        delete item.action;
    }
}

void KPopupMenu::removeItem(int id)
{
    if (m_items.contains(id)) {
        forgetItem(id);
    }
}

void KPopupMenu::clear()
{
    const QList<int> ids = m_items.keys();
    for (int id : ids) {
        forgetItem(id);
    }
    // What is left are separators, which belong to this menu.
    const QList<QAction*> rest = actions();
    for (QAction* action : rest) {
        removeAction(action);
        if (action->parent() == this) {
            delete action;
        }
    }
}

QString KPopupMenu::text(int id) const
{
    const auto it = m_items.constFind(id);
    if (it == m_items.constEnd() || !it->action) {
        return QString();
    }
    return it->text;
}

void KPopupMenu::changeItem(int id, const QString& text)
{
    const auto it = m_items.find(id);
    if (it == m_items.end() || !it->action) {
        return;
    }
    it->text = text.isNull() ? QStringLiteral("") : text;
    it->action->setText(text);
}

QAction* KPopupMenu::actionForId(int id) const
{
    return m_items.value(id).action.data();
}

void KPopupMenu::setItemChecked(int id, bool checked)
{
    const auto it = m_items.find(id);
    if (it == m_items.end() || !it->action) {
        return;
    }
    it->checked = checked;
    QAction* action = it->action;
    if (!action->isCheckable()) {
        action->setCheckable(true);
        // Triggering a checkable action toggles it before anyone hears of
        // the choice; the mark is put back at once.
        connect(action, &QAction::toggled, this, [this, id] { keepCheckMark(id); });
    }
    action->setChecked(checked);
}

void KPopupMenu::keepCheckMark(int id)
{
    const auto it = m_items.constFind(id);
    if (it != m_items.constEnd() && it->action && it->action->isChecked() != it->checked) {
        it->action->setChecked(it->checked);
    }
}

bool KPopupMenu::isItemChecked(int id) const
{
    const QAction* action = actionForId(id);
    return action && action->isChecked();
}

void KPopupMenu::setItemEnabled(int id, bool enabled)
{
    if (QAction* action = actionForId(id)) {
        action->setEnabled(enabled);
    }
}

bool KPopupMenu::isItemEnabled(int id) const
{
    const QAction* action = actionForId(id);
    return action && action->isEnabled();
}

int KPopupMenu::count() const
{
    return actions().size();
}

int KPopupMenu::idOf(const QAction* action) const
{
    if (!action) {
        return -1;
    }
    for (auto it = m_items.constBegin(); it != m_items.constEnd(); ++it) {
        if (it->action == action) {
            return it.key();
        }
    }
    return -1;
}

int KPopupMenu::idAt(int index) const
{
    const QList<QAction*> present = actions();
    if (index < 0 || index >= present.size()) {
        return -1;
    }
    return idOf(present.at(index));
}

int KPopupMenu::indexOf(int id) const
{
    const QAction* action = actionForId(id);
    return action ? actions().indexOf(const_cast<QAction*>(action)) : -1;
}

void KPopupMenu::popup(const QPoint& pos, int indexAtPoint)
{
    const QList<QAction*> present = actions();
    QAction* at =
        (indexAtPoint >= 0 && indexAtPoint < present.size()) ? present.at(indexAtPoint) : nullptr;
    QMenu::popup(pos, at);
}
