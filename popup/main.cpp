// schemepop: the hot-key popup that switches the power scheme of the power
// source in use. It takes no arguments and always ends with status 0.

#include "SchemepopBase.h"

#include <QApplication>

#include <memory>

namespace {

// The layout is in screen pixels: no high-DPI scaling of any kind may
// rescale it, whatever the environment or the X resources say.
void keepScreenPixels()
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qunsetenv("QT_USE_PHYSICAL_DPI");
    qunsetenv("QT_DEVICE_PIXEL_RATIO");
}

} // namespace

int main(int argc, char* argv[])
{
    (void)argc;
    keepScreenPixels();
    // Arguments are ignored, the toolkit's own options included.
    static int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);

    auto form = std::make_unique<TForm_FnBase>();
    Form_FnBase = form.get();
    Form_FnBase->show();
    application.exec();
    Form_FnBase = nullptr;
    return 0;
}
