#include "text/key_event_qt.h"

#include <QKeyEvent>

#include "foundation/cp1252.h"

std::vector<KeyEvent> KeyEventsFromQt(const QKeyEvent& event, int32_t* leftOut)
{
    if (leftOut)
        *leftOut = 0;
    const bool shift = (event.modifiers() & Qt::ShiftModifier) != 0;
    const bool ctrl = (event.modifiers() & Qt::ControlModifier) != 0;
    auto down = [&](uint32_t vk) {
        KeyEvent key = DownKey(vk, shift);
        key.ctrl = ctrl ? 1 : 0;
        return std::vector<KeyEvent>{key};
    };
    auto typed = [&](uint8_t ch) {
        KeyEvent key = TypedKey(ch, shift);
        key.ctrl = ctrl ? 1 : 0;
        return key;
    };
    switch (event.key()) {
    case Qt::Key_Left: return down(kKeyLeft);
    case Qt::Key_Right: return down(kKeyRight);
    case Qt::Key_Up: return down(kKeyUp);
    case Qt::Key_Down: return down(kKeyDown);
    case Qt::Key_Home: return down(kKeyHome);
    case Qt::Key_End: return down(kKeyEnd);
    case Qt::Key_Delete: return down(kKeyDelete);
    case Qt::Key_Backspace: return {typed(kKeyBackspace)};
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return {typed(kKeyTab)};
    case Qt::Key_Return:
    case Qt::Key_Enter: return {typed(kKeyEnter)};
    default: break;
    }
    std::vector<KeyEvent> out;
    // Ctrl with a key is a command (Ctrl+C, Ctrl+B, ...), not text; with
    // Alt as well it types what AltGr would.
    if (ctrl && !(event.modifiers() & Qt::AltModifier))
        return out;
    const QString text = event.text();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = UnicodeToCp1252(text[i].unicode());
        // A character beyond the first 65536 comes in two halves: it counts
        // once.
        if (byte < 0 && leftOut && !(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            ++*leftOut;
        if (byte < 0x20 || byte == 0x7F)
            continue;
        out.push_back(typed(uint8_t(byte)));
    }
    return out;
}
