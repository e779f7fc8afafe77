// SPDX-License-Identifier: GPL-2.0-or-later
#include "popuptesting.h"

#include "popup/SchemepopBase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

namespace popuptest {

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

int rowOfScheme(const TForm_FnBase& form, const QByteArray& scheme)
{
    for (int i = 0; i < form.LstBx_Scheme->count(); ++i) {
        if (TForm_FnBase::schemeOfRow(form.LstBx_Scheme->item(i)) == scheme) {
            return i;
        }
    }
    return -1;
}

bool endsProgram(const std::function<void()>& action, int timeoutMs)
{
    bool timedOut = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, qApp, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    guard.start(timeoutMs);
    QTimer::singleShot(0, qApp, action);
    QCoreApplication::exec();
    return !timedOut;
}

void pointAt(QWidget* widget, const QPoint& local)
{
    QCursor::setPos(widget->mapToGlobal(local));
    settle();
}

void moveOverStaleWindow(QWidget* widget, const QPoint& local)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(local),
                     QPointF(widget->mapToGlobal(local) + StaleWindowOffset), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

MessageBoxCatcher::MessageBoxCatcher()
{
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxCatcher::closeOpenBoxes);
    m_timer.start(10);
}

void MessageBoxCatcher::closeOpenBoxes()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (!box || !box->isVisible()) {
            continue;
        }
        m_boxes.append({box->icon(), box->text(), box->textFormat()});
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        if (ok) {
            ok->click();
        } else {
            box->reject();
        }
    }
}

} // namespace popuptest
