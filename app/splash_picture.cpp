#include "app/splash_wnd.h"
#include "resources/artwork_resources.h"

QImage MakeSplashPicture()
{
    return LoadResourceBitmap(CSplashWnd::kPictureId);
}
