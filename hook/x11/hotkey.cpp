#include "hotkey.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <utility>

namespace wlhook::x11 {
namespace {

constexpr std::uint32_t KeysymF1 = 0xFFBE;

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

    // Every combination of the other modifiers: Caps Lock and Mod1 to Mod5
    // (Alt, Num Lock, Super, AltGr and whatever else the keyboard puts there).
    constexpr std::uint16_t others[] = {XCB_MOD_MASK_LOCK, XCB_MOD_MASK_1, XCB_MOD_MASK_2,
                                        XCB_MOD_MASK_3,    XCB_MOD_MASK_4, XCB_MOD_MASK_5};
    const std::uint16_t base = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;
    for (unsigned combination = 0; combination < (1u << std::size(others)); ++combination) {
        auto mods = base;
        for (std::size_t i = 0; i < std::size(others); ++i)
            if (combination & (1u << i))
                mods = static_cast<std::uint16_t>(mods | others[i]);
        modifiers_.push_back(mods);
    }

    // Ctrl+Shift+key itself must be ours; the variants are taken where free.
    std::vector<std::pair<std::uint16_t, xcb_void_cookie_t>> requests;
    for (std::uint16_t mods : modifiers_)
        for (xcb_keycode_t code : keycodes_)
            requests.emplace_back(
                mods, xcb_grab_key_checked(c, 0, root, mods, code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC));
    bool baseGrabbed = false;
    for (const auto &[mods, cookie] : requests) {
        xcb_generic_error_t *error = xcb_request_check(c, cookie);
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
