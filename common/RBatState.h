// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The readings of one battery state file, as the popup's battery reader
// stores them. The caller owns the record; text fields start empty.

#include <QByteArray>
#include <QtGlobal>

struct RBatState
{
    QByteArray VoltageText;
    QByteArray TemperatureText;
    QByteArray ACAttachedText;
    QByteArray CurrentText;
    QByteArray FullChargeCapacityText;
    double FullChargeCapacity = 0.0;
    QByteArray RemainingCapacityText;
    double RemainingCapacity = 0.0;
    qint32 RunTimeToEmpty = 0;
    qint32 AverageTimeToFull = 0;
    qint32 AverageTimeToEmpty = 0;
    QByteArray RelativeStateOfChargeText;
    qint32 RelativeStateOfCharge = 0;
    QByteArray CycleCountText;
    qint32 CycleCount = 0;
    qint32 RemainingTime = 0;
    // 0 = mains power attached; anything else counts as battery power. A file
    // without an "AC attached" line leaves the fresh record's 1 (not attached).
    qint32 ACState = 1;
    qint32 FullyCharged = 0;
};
