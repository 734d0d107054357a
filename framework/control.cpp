#include "framework/control.h"

#include <commctrl.h>

namespace {
const char kObjectProperty[] = "Brewbell.Control";
constexpr UINT_PTR kSubclassId = 1;
} // namespace

Control::~Control() { UnsubclassWindow(); }

bool Control::SubclassWindow(HWND hwnd)
{
    if (!hwnd || hwnd_ || FromHandle(hwnd))
        return false;
    hwnd_ = hwnd;
    PreSubclassWindow();
    if (!::SetPropA(hwnd, kObjectProperty, this) ||
        !::SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        ::RemovePropA(hwnd, kObjectProperty);
        hwnd_ = nullptr;
        return false;
    }
    return true;
}

void Control::UnsubclassWindow()
{
    if (!hwnd_)
        return;
    ::RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
    ::RemovePropA(hwnd_, kObjectProperty);
    hwnd_ = nullptr;
}

Control *Control::FromHandle(HWND hwnd)
{
    return hwnd ? static_cast<Control *>(::GetPropA(hwnd, kObjectProperty)) : nullptr;
}

bool Control::OnReflect(Message &) { return false; }

void Control::PreSubclassWindow() {}

bool Control::ProcessMessage(Message &) { return false; }

LRESULT Control::Default(const Message &m) const { return ::DefSubclassProc(hwnd_, m.id, m.wParam, m.lParam); }

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR refData)
{
    auto *self = reinterpret_cast<Control *>(refData);
    if (message == WM_NCDESTROY) {
        // The window goes first: drop the binding so neither outlives the other.
        self->UnsubclassWindow();
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    Message m{message, wParam, lParam};
    try {
        if (self->ProcessMessage(m))
            return m.result;
    } catch (...) {
        // Nothing may unwind through the window manager.
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}
