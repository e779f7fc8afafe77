// SPDX-License-Identifier: GPL-2.0-or-later
#include "kpanelapplet.h"

KPanelApplet::KPanelApplet(const QString& configFile, Type type, int actions, QWidget* parent,
                           const char* name)
    : QFrame(parent), m_configFile(configFile), m_type(type), m_actions(actions)
{
    if (name) {
        setObjectName(QString::fromLatin1(name));
    }
}

KPanelApplet::~KPanelApplet() = default;

int KPanelApplet::widthForHeight(int) const
{
    return width();
}

int KPanelApplet::heightForWidth(int) const
{
    return height();
}

void KPanelApplet::about()
{
}

void KPanelApplet::help()
{
}

void KPanelApplet::preferences()
{
}

void KPanelApplet::reportBug()
{
}

void KPanelApplet::setPosition(Position position)
{
    if (m_position == position) {
        return;
    }
    m_position = position;
    positionChange(position);
}

void KPanelApplet::setAlignment(Alignment alignment)
{
    if (m_alignment == alignment) {
        return;
    }
    m_alignment = alignment;
    alignmentChange(alignment);
}

Qt::Orientation KPanelApplet::orientation() const
{
    return (m_position == pTop || m_position == pBottom) ? Qt::Horizontal : Qt::Vertical;
}

void KPanelApplet::positionChange(Position)
{
}

void KPanelApplet::alignmentChange(Alignment)
{
}
