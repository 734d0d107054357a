// Reading and working the controls of a window, as the window tests (in this process) and the
// end-to-end tests (in brewbell.exe, another process) do.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// A window's text, of any length. For a window of another process this is the text the system
// keeps (no message is sent), as GetWindowText gives it.
inline std::string Text(HWND window)
{
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The text of a dialog item, asked with WM_GETTEXT, which GetWindowText does not send to an edit
// field of another process; a hung program's item gives an empty text.
inline std::string ItemText(HWND dialog, int id)
{
    HWND item = ::GetDlgItem(dialog, id);
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(item, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::string text(length + 1, '\0');
    DWORD_PTR got = 0;
    if (!::SendMessageTimeoutA(item, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, 5000, &got))
        return {};
    text.resize(got < text.size() ? got : text.size() - 1);
    return text;
}

inline std::string ClassName(HWND window)
{
    char name[256] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

inline bool IsItemEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

// A click on a button, and a command as a menu item or accelerator gives it: sent, so that they
// have acted when the call returns (a box they open runs its loop inside the call).
inline void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
inline void Command(HWND window, int id) { ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
// The same, posted: a box they open in another process does not block the caller.
inline void PostClick(HWND dialog, int id) { ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
inline void PostCommand(HWND window, UINT id) { ::PostMessageA(window, WM_COMMAND, id, 0); }

// A key pressed and let go on the keyboard, as the system hands it to the foreground window.
inline void PressRealKey(WORD key)
{
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// Typed characters, one WM_CHAR each.
inline void Type(HWND control, const char *text)
{
    for (const char *c = text; *c; ++c)
        ::SendMessageA(control, WM_CHAR, static_cast<unsigned char>(*c), 0);
}

// A key as the modal loop hands it to the dialog manager.
inline void PressKey(HWND dialog, UINT key)
{
    MSG msg{::GetFocus() ? ::GetFocus() : dialog, WM_KEYDOWN, key, 0, 0, {0, 0}};
    ::IsDialogMessageA(dialog, &msg);
}

// Answers this thread's messages until the condition holds; false on time-out. A thread without
// windows (the end-to-end tests) just waits.
inline bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs = 10000)
{
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}
// The window tests' name for it, with their shorter default.
inline bool PumpUntil(const std::function<bool()> &condition, DWORD timeoutMs = 5000)
{
    return WaitUntil(condition, timeoutMs);
}

// A message box: a dialog with its text in the static 0xFFFF.
inline bool IsMessageBox(HWND window)
{
    return ClassName(window) == "#32770" && ::GetDlgItem(window, 0xFFFF) != nullptr;
}
inline std::string MessageBoxText(HWND box) { return Text(::GetDlgItem(box, 0xFFFF)); }

namespace controls_detail {
struct OtherWindow {
    HWND known;
    HWND found;
};
inline BOOL CALLBACK FindOtherWindow(HWND candidate, LPARAM parameter)
{
    auto *search = reinterpret_cast<OtherWindow *>(parameter);
    if (candidate != search->known && ::IsWindowVisible(candidate)) {
        search->found = candidate;
        return FALSE;
    }
    return TRUE;
}
} // namespace controls_detail

// A visible top-level window of the thread other than the known one: the box, chooser or dialog
// that opened on top of it; null if there is none.
inline HWND OtherVisibleWindow(DWORD thread, HWND known)
{
    controls_detail::OtherWindow search{known, nullptr};
    ::EnumThreadWindows(thread, controls_detail::FindOtherWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
