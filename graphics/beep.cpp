#include "graphics/beep.h"

#include "foundation/alert_sink.h"

void PlayBeep(int32_t kind)
{
    switch (kind) {
    case 1: MessageBeep(kMbOk); break;
    case 2: MessageBeep(kMbIconQuestion); break;
    case 3: MessageBeep(kMbIconExclamation); break;
    case 4: MessageBeep(kMbIconInformation); break;
    default: MessageBeep(0xFFFFFFFF); break;
    }
}
