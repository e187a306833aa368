#include "UsKeyboard.h"

#include <QKeyEvent>
#include <memory>
#include <mutex>
#include <xkbcommon/xkbcommon.h>

namespace pimavo {

namespace {

struct UsLayout {
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* state = nullptr;
    UsLayout() {
        context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        if (!context) return;
        const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
        keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        if (keymap) state = xkb_state_new(keymap);
    }
    ~UsLayout() {
        if (state) xkb_state_unref(state);
        if (keymap) xkb_keymap_unref(keymap);
        if (context) xkb_context_unref(context);
    }
};

const UsLayout& usLayout() {
    static UsLayout layout;
    return layout;
}

} // namespace

char32_t usCharacterForScanCode(uint32_t scanCode) {
    const UsLayout& us = usLayout();
    if (!us.state || scanCode == 0) return 0;
    return xkb_state_key_get_utf32(us.state, scanCode);
}

char32_t usCharacterForKey(const QKeyEvent* event) {
    if (const char32_t c = usCharacterForScanCode(event->nativeScanCode())) return c;
    // No scan code (tests, some platforms): the key's own text, then its Latin key code.
    const QString text = event->text();
    if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7f)
        return text[0].toLower().unicode();
    const int key = event->key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return char32_t('a' + (key - Qt::Key_A));
    if (key == Qt::Key_BracketLeft) return U'[';
    if (key == Qt::Key_BracketRight) return U']';
    if (key == Qt::Key_Backslash) return U'\\';
    if (key == Qt::Key_Space) return U' ';
    return 0;
}

} // namespace pimavo
