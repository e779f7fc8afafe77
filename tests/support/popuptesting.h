// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Helpers for the popup's widget tests: pointer moves through the platform's
// cursor (so that enter, leave and QCursor::pos() agree with the events), and
// a catcher that records and dismisses message boxes opened by the code under
// test.

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <functional>

class QWidget;
class TForm_FnBase;
class QByteArray;

namespace popuptest {

// Moves the pointer to `local` in `widget` and delivers the resulting events.
void pointAt(QWidget* widget, const QPoint& local);

// Delivers posted and window-system events.
void settle();

// Runs the application's event loop with `action` as its first event; true
// when the loop ended by itself (the program's last window closed) within
// timeoutMs.
bool endsProgram(const std::function<void()>& action, int timeoutMs = 10000);

// The row of the form's scheme list that shows the scheme, or -1.
int rowOfScheme(const TForm_FnBase& form, const QByteArray& scheme);

// Where a reparenting window manager really puts a frameless window while Qt
// still believes it at 0,0: the offset of its real screen position.
inline const QPoint StaleWindowOffset(382, 332);

// Delivers a pointer move over `widget` at `local` as the X server reports
// it when Qt's idea of the window's position is StaleWindowOffset off: the
// local position is right, the screen position is the real one. The
// platform's cursor stays where it was.
void moveOverStaleWindow(QWidget* widget, const QPoint& local);

// Records every message box that opens while it lives and closes it with its
// default (OK) button.
class MessageBoxCatcher : public QObject
{
    Q_OBJECT

public:
    struct Box
    {
        QMessageBox::Icon icon;
        QString text;
        Qt::TextFormat format;
    };

    MessageBoxCatcher();
    QList<Box> boxes() const { return m_boxes; }

private:
    void closeOpenBoxes();

    QTimer m_timer;
    QList<Box> m_boxes;
};

} // namespace popuptest
