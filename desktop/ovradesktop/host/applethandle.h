// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QWidget>

/// The grip at the left of each applet. Its right-click menu offers what the
/// applet's action flags declare (About, Help, Preferences, Report Bug) and
/// always "Remove".
class OVRADESKTOP_EXPORT AppletHandle : public QWidget
{
    Q_OBJECT

public:
    AppletHandle(const QString& appletName, int actions, QWidget* parent);

    static constexpr int handleWidth = 8;
    QSize sizeHint() const override;

    /// The menu the handle opens; the caller owns it.
    class QMenu* createMenu();

Q_SIGNALS:
    void aboutRequested();
    void helpRequested();
    void preferencesRequested();
    void reportBugRequested();
    void removeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QString m_appletName;
    int m_actions;
};
