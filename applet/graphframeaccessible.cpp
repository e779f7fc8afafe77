// SPDX-License-Identifier: GPL-2.0-or-later
#include "graphframeaccessible.h"

#include "graphframe.h"

#include <QAccessible>

namespace {

int liveGauges = 0;

QAccessibleInterface* gaugeFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("GraphFrame")) {
        return new GraphFrameAccessible(static_cast<GraphFrame*>(object));
    }
    return nullptr;
}

} // namespace

void GraphFrameAccessible::gaugeCreated()
{
    if (liveGauges++ == 0) {
        QAccessible::installFactory(gaugeFactory);
    }
}

void GraphFrameAccessible::gaugeDestroyed()
{
    if (--liveGauges == 0) {
        QAccessible::removeFactory(gaugeFactory);
    }
}

void GraphFrameAccessible::refreshed(GraphFrame* gauge, std::optional<int> previousPercentage,
                                     const QString& previousToolTip)
{
    if (!QAccessible::isActive()) {
        return;
    }
    // Only changes are told: a screen reader speaks every value it is sent.
    const std::optional<int> percentage = gauge->tipPercentage();
    if (percentage && percentage != previousPercentage) {
        QAccessibleValueChangeEvent event(gauge, *percentage);
        QAccessible::updateAccessibility(&event);
    }
    if (gauge->toolTip() != previousToolTip) {
        QAccessibleEvent event(gauge, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

GraphFrameAccessible::GraphFrameAccessible(GraphFrame* gauge)
    : QAccessibleWidget(gauge, QAccessible::ProgressBar)
{
}

GraphFrame* GraphFrameAccessible::gauge() const
{
    return static_cast<GraphFrame*>(widget());
}

void* GraphFrameAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface && gauge()->tipPercentage()) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State GraphFrameAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    return s;
}

QVariant GraphFrameAccessible::currentValue() const
{
    const std::optional<int> percentage = gauge()->tipPercentage();
    return percentage ? QVariant(*percentage) : QVariant();
}
