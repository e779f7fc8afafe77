// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Changes environment variables of this process for a while and puts each
// one back as it was (set to its old value, or unset) when restored or
// destroyed. The toolkit reads some of its settings from the environment
// only while it starts; the commands the program runs later must see the
// environment the program was started with.

#include <QByteArray>
#include <QList>

#include <optional>

class EnvironmentOverride
{
public:
    EnvironmentOverride() = default;
    ~EnvironmentOverride() { restore(); }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

    void set(const char* name, const QByteArray& value);
    void unset(const char* name);
    void restore();

private:
    void remember(const char* name);

    struct Saved
    {
        QByteArray name;
        std::optional<QByteArray> value; // empty: the variable was not set
    };
    QList<Saved> m_saved;
};
