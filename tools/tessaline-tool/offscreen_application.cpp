#include "offscreen_application.h"

#include <cstdlib>

#include <QApplication>
#include <QGuiApplication>

namespace {

// Qt keeps argc and argv for the application's life.
int g_argc = 1;
char g_name[] = "tessaline-tool";
char* g_argv[] = {g_name, nullptr};

}  // namespace

std::unique_ptr<QApplication> StartOffscreenApplication()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (QCoreApplication::instance())
        return nullptr;
    return std::make_unique<QApplication>(g_argc, g_argv);
}

std::unique_ptr<QGuiApplication> StartOffscreenGuiApplication()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (QCoreApplication::instance())
        return nullptr;
    return std::make_unique<QGuiApplication>(g_argc, g_argv);
}
