// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What assistive technology reads of the battery gauge: a progress bar named
// "Battery" whose value is the charge in percent and whose description is the
// tool tip, both as the last refresh left them. A gauge without a battery has
// no value, only its "No battery" description.

#include <QAccessibleWidget>
#include <QString>

#include <optional>

class GraphFrame;

class GraphFrameAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit GraphFrameAccessible(GraphFrame* gauge);

    // Every gauge registers the interface while it lives, so that a library
    // unloaded after its last gauge leaves nothing of it behind in Qt.
    static void gaugeCreated();
    static void gaugeDestroyed();

    // Tells assistive technology what a refresh changed; does nothing when
    // none is running.
    static void refreshed(GraphFrame* gauge, std::optional<int> previousPercentage,
                          const QString& previousToolTip);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    GraphFrame* gauge() const;
};
