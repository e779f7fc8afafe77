# SPDX-License-Identifier: GPL-2.0-or-later
# The fuzz targets: fuzz_NAME is built from fuzz_NAME.cpp, and ctest runs it
# as the smoke fuzz.NAME. Read by the main build and by the fuzz build.
set(OVRA_FUZZ_TARGETS
    configtext      # the daemon's file: keyValues, setKeyValue, both programs' readSchemeKey
    switchreport    # the switch helper's report, as its callers read it
    switcharguments # the switch helper's arguments
    popupkeys       # the popup's key lines and key update (common/)
    popupbattery    # the popup's battery state reader (batteries/ through common/)
    appletbattery   # the applet's battery state reader (batteries/) and gauge view
    kconfig         # KConfig files, read and written
    appletinfo      # applet desktop entries
    panelconfig     # panelhost's configuration panelhostrc
    dcopsignature   # DCOP function signatures
    dcopargs)       # DCOP argument and reply encoding, the dcop command's texts
