// SPDX-License-Identifier: GPL-2.0-or-later
// schemepop: the hot-key popup that switches the power scheme of the power
// source in use. It takes no arguments and ends with status 0, or with 1 when
// there is no display to show it on.

#include "SchemepopBase.h"
#include "appstart/displaycheck.h"
#include "environmentoverride.h"
#include "errorreporting.h"
#include "fontconfigwarmup.h"
#include "machine/machine.h"
#include "noticereporting.h"
#include "schemes/switchclient.h"
#include "threadaside.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

// The layout is in screen pixels: no high-DPI scaling of any kind may
// rescale it, whatever the environment or the X resources say. Qt reads
// these variables only while the application object is being constructed.
void keepScreenPixels(EnvironmentOverride& environment)
{
    environment.set("QT_ENABLE_HIGHDPI_SCALING", "0");
    environment.unset("QT_SCALE_FACTOR");
    environment.unset("QT_SCREEN_SCALE_FACTORS");
    environment.unset("QT_USE_PHYSICAL_DPI");
    environment.unset("QT_DEVICE_PIXEL_RATIO");
}

// The popup takes no text input, so it needs no input method: none is loaded
// (and no input method daemon is contacted) while it starts.
void withoutInputMethod(EnvironmentOverride& environment)
{
    environment.set("QT_IM_MODULE", "none");
}

} // namespace

int main(int argc, char* argv[])
{
    (void)argc;
    // Told from the environment alone: the start costs no round trip.
    if (const QByteArray why = missingDisplay(); !why.isEmpty()) {
        std::fprintf(stderr, "schemepop: %s\n", why.constData());
        return 1;
    }
    EnvironmentOverride startup;
    keepScreenPixels(startup);
    withoutInputMethod(startup);
    // Started once the environment is set: fontconfig reads it on its thread,
    // and the environment is changed again only after the wait below.
    ThreadAside fonts(warmUpFontConfig);
    // Arguments are ignored, the toolkit's own options included.
    static int toolkitArgc = 1;
    std::optional<DisplayFailureGuard> displayFailure(std::in_place, "schemepop");
    QApplication application(toolkitArgc, argv);
    displayFailure.reset();
    // What the machine has is found out on a thread aside, once the bus may
    // be used: on a laptop of today that is a system bus connection and the
    // form's first questions, whose answers the form then takes
    // (machine/answersahead.h). The form waits for it where it needs it;
    // it ends within the questions' bounds, before the application object.
    ThreadAside machineAside([] { machine::thisMachine(); });
    // The form's fonts are resolved while it is built.
    fonts.wait();
    // The reload, the idle-time restart and the power manager run with the
    // environment the program was started with.
    startup.restore();
    // The form reports while it is being built already.
    reportErrorsInBoxes();
    reportNoticesOnDesktop();

    auto form = std::make_unique<TForm_FnBase>();
    Form_FnBase = form.get();
    Form_FnBase->show();
    application.exec();
    Form_FnBase = nullptr;
    // A switch the user stopped waiting for ends within its commands'
    // bounds (three of 30 s and the lock's 5 s), the window gone already.
    schemes::waitForSwitchesAside(std::chrono::seconds(100));
    return 0;
}
