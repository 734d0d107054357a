// The one message-map idiom of our windows: a static table from window messages and command ids
// to member handlers. A handler says whether it handled the message; the result it sets goes back
// to the window manager.
#pragma once

#include <windows.h>

#include <cstddef>

struct Message {
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;

    UINT CommandId() const { return LOWORD(wParam); }
    UINT NotifyCode() const { return HIWORD(wParam); }
    HWND Sender() const { return reinterpret_cast<HWND>(lParam); }
};

template <class T>
struct MapEntry {
    // Notification codes that count as a plain command: menus and buttons send 0 (BN_CLICKED),
    // accelerators 1.
    static constexpr UINT kAnyCommand = 0xFFFFFFFF;

    UINT message;
    UINT firstId; // WM_COMMAND only: the id range
    UINT lastId;
    UINT code; // WM_COMMAND only: the notification code, or kAnyCommand
    bool (T::*onMessage)(Message &);
    void (T::*onCommand)();

    bool Matches(const Message &m) const
    {
        if (m.id != message)
            return false;
        if (message != WM_COMMAND)
            return true;
        const UINT id = m.CommandId();
        if (id < firstId || id > lastId)
            return false;
        return code == kAnyCommand ? m.NotifyCode() <= 1 : m.NotifyCode() == code;
    }
};

// A window's table is a function-local static inside its ProcessMessage, which chains to the
// base class's ProcessMessage when no entry takes the message.
// The first matching entry whose handler accepts the message wins.
template <class T, std::size_t N>
bool DispatchMessageMap(T *self, const MapEntry<T> (&map)[N], Message &m)
{
    for (const MapEntry<T> &entry : map) {
        if (!entry.Matches(m))
            continue;
        if (entry.onCommand) {
            (self->*entry.onCommand)();
            return true;
        }
        if ((self->*entry.onMessage)(m))
            return true;
    }
    return false;
}

// clang-format off
#define ON_MESSAGE(msg, handler) {msg, 0, 0, 0, handler, nullptr}
#define ON_COMMAND(id, handler) {WM_COMMAND, id, id, 0xFFFFFFFF, nullptr, handler}
#define ON_COMMAND_RANGE(first, last, handler) {WM_COMMAND, first, last, 0xFFFFFFFF, handler, nullptr}
#define ON_CONTROL(code, id, handler) {WM_COMMAND, id, id, code, handler, nullptr}
// clang-format on
