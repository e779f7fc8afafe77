// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The popup's form on the simulated laptop: shown the way the program shows
// it, and after each test the configuration put back and the scheme files the
// test added removed. Test classes derive from this beside QObject.

#include "laptopfixture.h"
#include "popup/SchemepopBase.h"
#include "popup/errorreporting.h"
#include "popuptesting.h"

#include <QFile>
#include <QStringList>
#include <QTest>

#include <memory>

inline const QString CommonPath = QStringLiteral("/etc/sysconfig/powersave/common");

class FormFixture
{
protected:
    QByteArray m_common;      // the configuration as the laptop had it
    QStringList m_addedFiles; // removed again after each test
    std::unique_ptr<TForm_FnBase> m_form;

    void keepConfiguration() { m_common = laptop::readFile(CommonPath); }

    void restoreLaptop()
    {
        m_form.reset();
        Form_FnBase = nullptr;
        laptop::writeFile(CommonPath, m_common);
        for (const QString& path : std::as_const(m_addedFiles)) {
            QFile::remove(path);
        }
        m_addedFiles.clear();
    }

    TForm_FnBase* showForm()
    {
        reportErrorsInBoxes(); // as the program does before it builds the form
        m_form = std::make_unique<TForm_FnBase>();
        Form_FnBase = m_form.get();
        m_form->show();
        if (!QTest::qWaitForWindowExposed(m_form.get())) {
            return nullptr;
        }
        popuptest::settle();
        return m_form.get();
    }
};
