// SPDX-License-Identifier: GPL-2.0-or-later
#include "tspeedbuttonaccessible.h"

#include "tspeedbutton.h"

#include <QMetaObject>

TSpeedButtonAccessible::TSpeedButtonAccessible(TSpeedButton* button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

QStringList TSpeedButtonAccessible::actionNames() const
{
    return {pressAction()};
}

void TSpeedButtonAccessible::doAction(const QString& actionName)
{
    // Pressing does what a click does. The click runs from the event loop,
    // after the request has been answered: its handler may block for as
    // long as a shell command runs.
    if (actionName == pressAction() && widget()->isEnabled()) {
        QMetaObject::invokeMethod(widget(), "click", Qt::QueuedConnection);
    }
}

QStringList TSpeedButtonAccessible::keyBindingsForAction(const QString&) const
{
    return {}; // the popup reacts to no key of its own
}
