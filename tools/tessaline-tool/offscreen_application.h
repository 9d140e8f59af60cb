// The Qt application a command draws in: on the offscreen platform, so
// that the tool runs without a display.
#pragma once

#include <memory>

class QApplication;
class QGuiApplication;

// A QApplication on the offscreen platform, unless one runs already (then
// null); the caller keeps it for as long as it draws.
std::unique_ptr<QApplication> StartOffscreenApplication();

// The same without widgets, for the commands that only draw or print.
std::unique_ptr<QGuiApplication> StartOffscreenGuiApplication();
