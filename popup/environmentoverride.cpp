// SPDX-License-Identifier: GPL-2.0-or-later
#include "environmentoverride.h"

#include <QtGlobal>

#include <algorithm>

void EnvironmentOverride::remember(const char* name)
{
    const bool known = std::any_of(m_saved.cbegin(), m_saved.cend(),
                                   [name](const Saved& saved) { return saved.name == name; });
    if (known) {
        return;
    }
    Saved saved{name, std::nullopt};
    if (qEnvironmentVariableIsSet(name)) {
        saved.value = qgetenv(name);
    }
    m_saved.append(saved);
}

void EnvironmentOverride::set(const char* name, const QByteArray& value)
{
    remember(name);
    qputenv(name, value);
}

void EnvironmentOverride::unset(const char* name)
{
    remember(name);
    qunsetenv(name);
}

void EnvironmentOverride::restore()
{
    // Last changed first, so that a variable changed twice ends as it began.
    for (auto saved = m_saved.crbegin(); saved != m_saved.crend(); ++saved) {
        if (saved->value) {
            qputenv(saved->name.constData(), *saved->value);
        } else {
            qunsetenv(saved->name.constData());
        }
    }
    m_saved.clear();
}
