// SPDX-License-Identifier: GPL-2.0-or-later
#include "accessiblefactory.h"

#include "tform.h"
#include "tlistbox.h"
#include "tlistboxaccessible.h"
#include "tspeedbutton.h"
#include "tspeedbuttonaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

QAccessibleInterface* formControlFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TListBox")) {
        return new TListBoxAccessible(static_cast<TListBox*>(object));
    }
    if (className == QLatin1String("TSpeedButton")) {
        return new TSpeedButtonAccessible(static_cast<TSpeedButton*>(object));
    }
    // A form is a window of its own: read as a frame, which screen readers
    // announce by its name when it becomes active.
    if (className == QLatin1String("TForm")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

} // namespace

void installAccessibleFactory()
{
    // Installing costs one list entry; the factory itself runs only when
    // assistive technology asks for an interface.
    static const bool installed = [] {
        QAccessible::installFactory(formControlFactory);
        return true;
    }();
    (void)installed;
}
