// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "kdemacros.h"
#include "ovradesktop_export.h"

#include <QFrame>
#include <QString>

/// A panel applet as the KDE 3 panel knew it: a frame that the panel embeds,
/// sizes through widthForHeight()/heightForWidth() and offers the actions
/// declared in its flags (About, Help, Preferences, Report Bug).
class OVRADESKTOP_EXPORT KPanelApplet : public QFrame
{
    Q_OBJECT

public:
    enum Type
    {
        Normal = 0,
        Stretch
    };
    enum Action
    {
        About = 1,
        Help = 2,
        Preferences = 4,
        ReportBug = 8
    };
    enum Position
    {
        pLeft = 0,
        pRight,
        pTop,
        pBottom
    };
    enum Alignment
    {
        LeftTop = 0,
        Center,
        RightBottom
    };

    KPanelApplet(const QString& configFile, Type type = Normal, int actions = 0,
                 QWidget* parent = nullptr, const char* name = nullptr);
    ~KPanelApplet() override;

    /// The width the applet wants in a horizontal panel of this height.
    virtual int widthForHeight(int height) const;
    /// The height the applet wants in a vertical panel of this width.
    int heightForWidth(int width) const override;

    virtual void about();
    virtual void help();
    virtual void preferences();
    virtual void reportBug();

    /// Called by the panel; each calls the matching *Change() when the value changes.
    void setPosition(Position position);
    void setAlignment(Alignment alignment);
    Position position() const { return m_position; }
    Alignment alignment() const { return m_alignment; }
    Qt::Orientation orientation() const;

    QString configFile() const { return m_configFile; }
    int actions() const { return m_actions; }
    Type type() const { return m_type; }

Q_SIGNALS:
    /// Asks the panel to query widthForHeight()/heightForWidth() again and lay out anew.
    void updateLayout();

protected:
    virtual void positionChange(Position position);
    virtual void alignmentChange(Alignment alignment);

private:
    QString m_configFile;
    Type m_type;
    int m_actions;
    Position m_position = pBottom;
    Alignment m_alignment = LeftTop;
};
