#include "hotkey.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace wlhook::x11
{
namespace
{

constexpr std::uint32_t KeysymF1 = 0xFFBE;
constexpr std::uint32_t KeysymNumLock = 0xFF7F;
constexpr std::uint32_t KeysymAltL = 0xFFE9;
constexpr std::uint32_t KeysymAltR = 0xFFEA;

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

struct KeyboardMap {
    xcb_keycode_t minKeycode = 0;
    std::uint8_t perKeycode = 0;
    std::vector<xcb_keysym_t> keysyms;

    // Keycodes whose unshifted or shifted symbol is keysym.
    std::vector<xcb_keycode_t> keycodesOf(std::uint32_t keysym) const
    {
        std::vector<xcb_keycode_t> found;
        if (perKeycode == 0)
            return found;
        for (std::size_t i = 0; i < keysyms.size(); i += perKeycode)
            for (std::size_t col = 0; col < std::min<std::size_t>(perKeycode, 2); ++col)
                if (keysyms[i + col] == keysym) {
                    found.push_back(static_cast<xcb_keycode_t>(minKeycode + i / perKeycode));
                    break;
                }
        return found;
    }
};

KeyboardMap readKeyboardMap(xcb_connection_t *c)
{
    KeyboardMap map;
    const xcb_setup_t *setup = xcb_get_setup(c);
    map.minKeycode = setup->min_keycode;
    const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    Reply<xcb_get_keyboard_mapping_reply_t> reply(
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr), std::free);
    if (!reply)
        return map;
    map.perKeycode = reply->keysyms_per_keycode;
    const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(reply.get());
    map.keysyms.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
    return map;
}

// The modifier bit that a key with one of the keysyms sets, or fallback.
std::uint16_t modifierMaskOf(xcb_connection_t *c, const KeyboardMap &map, std::initializer_list<std::uint32_t> keysyms,
                             std::uint16_t fallback)
{
    Reply<xcb_get_modifier_mapping_reply_t> reply(
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr), std::free);
    if (!reply)
        return fallback;
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (std::uint32_t keysym : keysyms)
        for (xcb_keycode_t wanted : map.keycodesOf(keysym))
            for (int mod = 0; mod < 8; ++mod)
                for (int k = 0; k < perModifier; ++k)
                    if (codes[mod * perModifier + k] == wanted)
                        return static_cast<std::uint16_t>(1u << mod);
    return fallback;
}

} // namespace

std::uint32_t keysymForVirtualKey(std::int32_t vk)
{
    if (vk >= 112 && vk <= 135) // VK_F1 .. VK_F24
        return KeysymF1 + static_cast<std::uint32_t>(vk - 112);
    if (vk >= 'A' && vk <= 'Z')
        return static_cast<std::uint32_t>('a' + (vk - 'A'));
    if (vk >= '0' && vk <= '9')
        return static_cast<std::uint32_t>(vk);
    return 0;
}

bool HotKeyGrab::grab(xcb_connection_t *c, xcb_window_t root, std::int32_t virtualKey)
{
    keycodes_.clear();
    modifiers_.clear();
    const std::uint32_t keysym = keysymForVirtualKey(virtualKey);
    if (keysym == 0)
        return false;
    const KeyboardMap map = readKeyboardMap(c);
    keycodes_ = map.keycodesOf(keysym);
    if (keycodes_.empty())
        return false;

    const std::uint16_t numLock = modifierMaskOf(c, map, {KeysymNumLock}, XCB_MOD_MASK_2);
    const std::uint16_t alt = modifierMaskOf(c, map, {KeysymAltL, KeysymAltR}, XCB_MOD_MASK_1);
    const std::uint16_t base = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;
    for (std::uint16_t extra : {std::uint16_t(0), alt})
        for (std::uint16_t lock : {std::uint16_t(0), std::uint16_t(XCB_MOD_MASK_LOCK), numLock,
                                   std::uint16_t(XCB_MOD_MASK_LOCK | numLock)}) {
            const auto mods = static_cast<std::uint16_t>(base | extra | lock);
            if (std::find(modifiers_.begin(), modifiers_.end(), mods) == modifiers_.end())
                modifiers_.push_back(mods);
        }

    // Ctrl+Shift+key itself must be ours; the variants are taken where free.
    bool baseGrabbed = false;
    for (std::uint16_t mods : modifiers_)
        for (xcb_keycode_t code : keycodes_) {
            xcb_generic_error_t *error = xcb_request_check(
                c, xcb_grab_key_checked(c, 0, root, mods, code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC));
            if (!error && mods == base)
                baseGrabbed = true;
            std::free(error);
        }
    if (!baseGrabbed) {
        ungrab(c, root);
        return false;
    }
    return true;
}

void HotKeyGrab::ungrab(xcb_connection_t *c, xcb_window_t root)
{
    for (std::uint16_t mods : modifiers_)
        for (xcb_keycode_t code : keycodes_)
            xcb_ungrab_key(c, code, root, mods);
    xcb_flush(c);
    keycodes_.clear();
    modifiers_.clear();
}

bool HotKeyGrab::isHotKey(xcb_keycode_t keycode) const
{
    return std::find(keycodes_.begin(), keycodes_.end(), keycode) != keycodes_.end();
}

} // namespace wlhook::x11
