// A non-owning window wrapper: an HWND and one-line calls on it.
#pragma once

#include <windows.h>

#include <string>

class Window {
public:
    Window() = default;
    explicit Window(HWND window) : hwnd(window) {}

    HWND GetSafeHwnd() const { return hwnd; }
    explicit operator bool() const { return hwnd != nullptr; }

    HWND GetItem(int id) const { return ::GetDlgItem(hwnd, id); }
    void SetText(const char *text) const { ::SetWindowTextA(hwnd, text); }
    std::string GetText() const;
    void SetItemText(int id, const char *text) const { ::SetDlgItemTextA(hwnd, id, text); }
    std::string GetItemText(int id) const { return Window(GetItem(id)).GetText(); }
    // A control that holds the focus hands it on to the next one before it is disabled: a window
    // left without a focused control takes no Enter, Space or Tab.
    void EnableItem(int id, bool enable) const;
    bool Show(int command) const { return ::ShowWindow(hwnd, command) != FALSE; }
    bool IsMinimized() const { return ::IsIconic(hwnd) != FALSE; }
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(hwnd, message, wParam, lParam) != FALSE;
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(hwnd, message, wParam, lParam);
    }
    HMENU GetMenu() const { return ::GetMenu(hwnd); }

protected:
    HWND hwnd = nullptr;
};
