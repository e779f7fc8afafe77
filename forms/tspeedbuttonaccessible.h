// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What assistive technology reads of a TSpeedButton: a push button named by
// its accessible name (the glyph shows no text), which it can press.

#include <QAccessibleWidget>

class TSpeedButton;

class TSpeedButtonAccessible : public QAccessibleWidget
{
public:
    explicit TSpeedButtonAccessible(TSpeedButton* button);

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;
};
