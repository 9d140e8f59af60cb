// For the fuzz targets that draw: fonts and painting on images need a GUI
// application, and the fuzzer has no display.
#pragma once

#include <QGuiApplication>
#include <cstdlib>

// Called from LLVMFuzzerInitialize, with its arguments.
inline void StartOffscreenGui(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
}
