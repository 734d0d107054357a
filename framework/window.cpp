#include "framework/window.h"

std::string Window::GetText() const
{
    const int length = ::GetWindowTextLengthA(hwnd);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void Window::EnableItem(int id, bool enable) const
{
    HWND item = GetItem(id);
    HWND focus = ::GetFocus();
    if (!enable && focus && (focus == item || ::IsChild(item, focus)))
        ::SendMessageA(hwnd, WM_NEXTDLGCTL, 0, FALSE);
    ::EnableWindow(item, enable);
}
