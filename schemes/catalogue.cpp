// SPDX-License-Identifier: GPL-2.0-or-later
#include "catalogue.h"

#include <QFile>

namespace schemes {

void bindCatalogue(const QString& folder)
{
    bindtextdomain(CatalogueDomain, QFile::encodeName(folder).constData());
    bind_textdomain_codeset(CatalogueDomain, "UTF-8");
}

} // namespace schemes
