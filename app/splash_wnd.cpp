#include "app/splash_wnd.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "platform/profile.h"

namespace {

CSplashWnd* g_splash = nullptr;
bool g_enabled = false;
int32_t g_duration = 5000;
bool g_extraText = false;
bool g_secondText = false;
bool g_repaintPending = false;

// Routes every event of the program through the splash while it shows.
class SplashFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return CSplashWnd::PreTranslateAppMessage(watched, event);
    }
};

SplashFilter* g_filter = nullptr;

bool ClosesSplash(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

}  // namespace

void CSplashWnd::EnableSplashScreen(bool enable)
{
    g_enabled = enable;
}

bool CSplashWnd::IsEnabled()
{
    return g_enabled;
}

void CSplashWnd::SetTextFlags(bool extraText, bool secondText)
{
    g_extraText = extraText;
    g_secondText = secondText;
}

bool CSplashWnd::ExtraText()
{
    return g_extraText;
}

CSplashWnd* CSplashWnd::Instance()
{
    return g_splash;
}

int32_t CSplashWnd::Duration() const
{
    return g_duration;
}

void CSplashWnd::ShowSplashScreen(QWidget* parent, int32_t milliseconds)
{
    if (!g_enabled || g_splash)
        return;
    g_repaintPending = true;
    g_duration = milliseconds;
    auto* splash = new CSplashWnd(parent);
    if (!splash->Create(parent)) {
        delete splash;
        return;
    }
    g_splash = splash;
    if (!g_filter) {
        g_filter = new SplashFilter;
        qApp->installEventFilter(g_filter);
    }
    splash->show();
    splash->update();
}

void CSplashWnd::HideSplashScreen()
{
    g_extraText = false;
    CSplashWnd* splash = g_splash;
    if (!splash)
        return;
    g_splash = nullptr;
    if (g_filter) {
        qApp->removeEventFilter(g_filter);
        delete g_filter;
        g_filter = nullptr;
    }
    QWidget* owner = splash->parentWidget();
    splash->hide();
    splash->deleteLater();
    if (owner)
        owner->update();
}

bool CSplashWnd::PreTranslateAppMessage(QObject* /*receiver*/, QEvent* event)
{
    if (!g_splash)
        return false;
    if ((QGuiApplication::queryKeyboardModifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) ==
        (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier))
        g_extraText = true;
    if (g_extraText && g_repaintPending) {
        g_repaintPending = false;
        g_splash->repaint();
    }
    // A key that would fire a shortcut is kept for the splash instead.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (ClosesSplash(event->type())) {
        HideSplashScreen();
        return true;
    }
    return false;
}

CSplashWnd::CSplashWnd(QWidget* parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
}

CSplashWnd::~CSplashWnd()
{
    if (g_splash == this)
        g_splash = nullptr;
}

bool CSplashWnd::Create(QWidget* parent)
{
    picture_ = MakeSplashPicture();
    if (picture_.isNull())
        return false;
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    const int32_t border = frameWidth();
    setFixedSize(picture_.width() + 2 * border, picture_.height() + 2 * border);
    QRect over = parent ? parent->frameGeometry() : QRect();
    if (over.isEmpty())
        if (QScreen* screen = QGuiApplication::primaryScreen())
            over = screen->availableGeometry();
    move(over.center() - rect().center());
    timerId_ = startTimer(g_duration);
    return true;
}

void CSplashWnd::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timerId_)
        HideSplashScreen();
}

void CSplashWnd::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const int32_t border = frameWidth();
    painter.drawImage(border, border, picture_);
    if (IsMasterMode()) {
        QFont font("Courier");
        font.setStyleHint(QFont::TypeWriter);
        font.setBold(true);
        font.setPointSize(42);
        painter.setFont(font);
        painter.setPen(QColor(255, 0, 0));
        painter.drawText(contentsRect(), Qt::AlignCenter, "Master");
    }
    if (g_extraText) {
        QFont font = painter.font();
        font.setPointSize(9);
        painter.setFont(font);
        painter.setPen(Qt::white);
        QString text = QString("Tessaline %1").arg(TESSALINE_VERSION);
        if (g_secondText)
            text += QString("  (Qt %1)").arg(qVersion());
        painter.drawText(contentsRect().adjusted(8, 0, -8, -6), Qt::AlignLeft | Qt::AlignBottom, text);
        g_repaintPending = false;
    }
}
