// SPDX-License-Identifier: GPL-2.0-or-later
#include "displaychoice.h"

#include <kconfig.h>

namespace {

const QString group = QStringLiteral("General");
const QString key = QStringLiteral("ShowPercentage");

} // namespace

DisplayChoice::DisplayChoice(const QString& configFile)
{
    if (configFile.isEmpty()) {
        return;
    }
    m_config = std::make_unique<KConfig>(configFile);
    m_config->setGroup(group);
}

DisplayChoice::~DisplayChoice() = default;

bool DisplayChoice::showPercentage() const
{
    return !m_config || m_config->readBoolEntry(key, true);
}

void DisplayChoice::setShowPercentage(bool showPer)
{
    if (!m_config) {
        return;
    }
    m_config->writeEntry(key, showPer);
    m_config->sync();
}
