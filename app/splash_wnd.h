// CSplashWnd: the picture window that shows over the main frame at start
// and again for Help > About. A timer closes it, and so does the first key
// or mouse press anywhere in the program, which goes no further. At most
// one exists at a time.
#pragma once

#include <cstdint>

#include <QFrame>
#include <QImage>

class CSplashWnd : public QFrame {
public:
    static constexpr int32_t kPictureId = 542;

    // Whether a splash may be shown at all.
    static void EnableSplashScreen(bool enable);
    static bool IsEnabled();
    // Shows the splash over parent for the time given, unless one is shown
    // already or showing is not enabled.
    static void ShowSplashScreen(QWidget* parent, int32_t milliseconds);
    static void HideSplashScreen();
    // Sees every event of the program before anything else while a splash
    // is shown; true when the event was consumed.
    static bool PreTranslateAppMessage(QObject* receiver, QEvent* event);
    // The additional text and its second part.
    static void SetTextFlags(bool extraText, bool secondText);
    static bool ExtraText();

    // The one splash window; null when none is shown.
    static CSplashWnd* Instance();
    int32_t Duration() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    explicit CSplashWnd(QWidget* parent);
    ~CSplashWnd() override;
    bool Create(QWidget* parent);

    QImage picture_;
    int32_t timerId_ = 0;
};

// The splash picture, bitmap resource kPictureId; null when it is missing.
QImage MakeSplashPicture();
