// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The display choice, percentage or time, kept in the applet's own
// configuration file (the one the panel hands to init()) under the group
// "General", key "ShowPercentage", so that it outlives a restart of the
// panel. Without a file name it lives as long as the applet.

#include <QString>

#include <memory>

class KConfig;

class DisplayChoice
{
public:
    explicit DisplayChoice(const QString& configFile);
    ~DisplayChoice();
    DisplayChoice(const DisplayChoice&) = delete;
    DisplayChoice& operator=(const DisplayChoice&) = delete;

    // The stored choice; the percentage when none is stored.
    bool showPercentage() const;
    // Stores the choice at once; a file that cannot be written keeps its old
    // contents, and the choice holds for the applet's life.
    void setShowPercentage(bool showPer);

private:
    std::unique_ptr<KConfig> m_config;
};
