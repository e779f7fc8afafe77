// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The popup's one form: the list of power schemes, with buttons that open the
// power manager or close the popup. Its controls, their looks and the binding
// of the handlers below to their events come from SchemepopBase.ui.

#include "ui_SchemepopBase.h"

#include "forms/tform.h"
#include "machine/powersettings.h"

#include <QByteArray>

#include <functional>

class QLabel;
class QShortcut;

namespace schemes {
struct SchemeEntry;
}

class TForm_FnBase : public TForm, public Ui_TForm_FnBase
{
    Q_OBJECT

public:
    explicit TForm_FnBase(QWidget* parent = nullptr);

    // The power source as GetPowerState reported it when the form was shown
    // (0 mains, 1 battery, -1 unknown), the two configured schemes as read
    // then, and the scheme active for that power source (the clicked one
    // after a click).
    int PowerState = 0;
    QByteArray ACScheme;
    QByteArray BatteryScheme;
    QByteArray CurrentScheme;

    // The scheme that a row of LstBx_Scheme stands for: its id.
    static QByteArray schemeOfRow(const QListWidgetItem* item);

public slots:
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormDeactivate();
    void spdBtn_CloseClick();
    void spdBtn_ClosebClick();
    void spdBtn_OpenACClick();
    void SpeedButtonMouseEnter();
    void SpeedButtonMouseLeave();
    void LabelOfSpeedButtonMouseEnter();
    void LabelOfSpeedButtonMouseLeave();
    void LabelOfSpeedButtonClick();
    void LstBx_SchemeDrawItem(int Index, const QRect& Rect, int State);
    void LstBx_SchemeMouseMove(const QPoint& Pos);
    void LstBx_SchemeMouseLeave();
    void LstBx_SchemeClick();

private:
    // True when the row stands for CurrentScheme: the red row.
    bool isCurrentSchemeRow(int row) const;
    void addSchemeRow(const schemes::SchemeEntry& entry);
    void readSchemeState();
    void activateScheme(int row);
    // Closes the form, which ends the program, also when it was hidden.
    void closeAndEnd();
    // The Close buttons and, while a switch waits, Escape.
    void closeOrStopWaiting();
    // While a switch waits: the form back with its rows greyed, a line that
    // says it waits, and stop() behind Escape and Close.
    void showWaiting(std::function<void()> stop);
    void endWaiting();
    TSpeedButton* linkedButtonOfSender() const;

    // True once the power source and both schemes have been read; false
    // while the form is shown when reading them failed part way.
    bool m_schemeStateRead = false;
    bool m_activating = false;
    // What "Open Power Manager..." starts.
    machine::PowerSettings m_powerSettings;
    std::function<void()> m_stopWaiting;
    QLabel* m_waitingLine = nullptr;
    QShortcut* m_escape = nullptr;
};

// The application's one form, created by the program's entry point.
extern TForm_FnBase* Form_FnBase;
