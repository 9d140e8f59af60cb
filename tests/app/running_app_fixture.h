// The whole application started in a test's own profile: its main window,
// message boxes captured and save questions scripted.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/card_app.h"
#include "app/main_frame.h"
#include "app/splash_wnd.h"
#include "shell_fixture.h"
#include "support/alert_capture.h"

class RunningAppTest : public ShellTest {
protected:
    // Starts the application with the command line's arguments.
    void StartApp(const std::vector<std::string>& arguments)
    {
        app = std::make_unique<CCardApp>();
        ASSERT_TRUE(app->InitInstance(arguments));
        CSplashWnd::HideSplashScreen();
        frame = app->MainFrame();
    }
    void TearDown() override
    {
        if (app)
            app->Documents().CloseAllDocuments();
        app.reset();
        ShellTest::TearDown();
    }

    AlertCapture alerts;
    ScriptedPrompts prompts;
    std::unique_ptr<CCardApp> app;
    CMainFrame* frame = nullptr;
};
