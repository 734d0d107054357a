#include "framework/control.h"

// Subclassing through the window procedure itself, not the common controls' subclass chain: the
// program then needs no common controls library until a dialog that has such controls opens.
namespace {
const char kObjectProperty[] = "Brewbell.Control";
// The procedure ours replaced, for as long as ours stays installed.
const char kPreviousProperty[] = "Brewbell.Control.Previous";
} // namespace

Control::~Control() { UnsubclassWindow(); }

bool Control::SubclassWindow(HWND window)
{
    if (!window || hwnd || FromHandle(window))
        return false;
    hwnd = window;
    PreSubclassWindow();
    const auto previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (!previous || !::SetPropA(window, kPreviousProperty, reinterpret_cast<HANDLE>(previous)) ||
        !::SetPropA(window, kObjectProperty, this) ||
        !::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc))) {
        ::RemovePropA(window, kObjectProperty);
        ::RemovePropA(window, kPreviousProperty);
        hwnd = nullptr;
        return false;
    }
    return true;
}

void Control::UnsubclassWindow()
{
    if (!hwnd)
        return;
    // Put the old procedure back only if nobody subclassed on top of us; otherwise ours stays in
    // the chain and passes everything on through the remembered procedure.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) == SubclassProc) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(::GetPropA(hwnd, kPreviousProperty)));
        ::RemovePropA(hwnd, kPreviousProperty);
    }
    ::RemovePropA(hwnd, kObjectProperty);
    hwnd = nullptr;
}

Control *Control::FromHandle(HWND hwnd)
{
    return hwnd ? static_cast<Control *>(::GetPropA(hwnd, kObjectProperty)) : nullptr;
}

bool Control::OnReflect(Message &) { return false; }

void Control::PreSubclassWindow() {}

bool Control::ProcessMessage(Message &) { return false; }

LRESULT Control::Default(const Message &m) const { return CallPrevious(hwnd, m.id, m.wParam, m.lParam); }

LRESULT Control::CallPrevious(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto previous = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kPreviousProperty));
    return previous ? ::CallWindowProcA(previous, hwnd, message, wParam, lParam)
                    : ::DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Control *self = FromHandle(hwnd);
    if (message == WM_NCDESTROY) {
        // The window goes first: drop the binding so neither outlives the other.
        const auto previous = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kPreviousProperty));
        if (self)
            self->UnsubclassWindow();
        ::RemovePropA(hwnd, kPreviousProperty);
        return previous ? ::CallWindowProcA(previous, hwnd, message, wParam, lParam)
                        : ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (self) {
        Message m{message, wParam, lParam};
        try {
            if (self->ProcessMessage(m))
                return m.result;
        } catch (...) {
            // Nothing may unwind through the window manager.
        }
    }
    return CallPrevious(hwnd, message, wParam, lParam);
}
