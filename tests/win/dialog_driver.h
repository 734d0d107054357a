// Drives a modal dialog of the program from inside its own modal loop, and answers the message
// boxes it opens.
#pragma once

#include "framework/dialog.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dialog_driver {

inline std::string Text(HWND window)
{
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

inline std::function<void()> &PendingBody()
{
    static std::function<void()> body;
    return body;
}

inline void CALLBACK RunPendingBody(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    std::function<void()> body = std::move(PendingBody());
    PendingBody() = nullptr;
    body();
}

// What a body returns when it leaves the dialog open: the driver ends it with this result.
constexpr INT_PTR kLeftOpen = -7;

// Runs the dialog modally; once it is up, the body runs inside its modal loop with the dialog's
// window. Returns the dialog's result.
inline INT_PTR RunModal(Dialog &dialog, const std::function<void(HWND)> &body)
{
    PendingBody() = [&] {
        body(dialog.GetSafeHwnd());
        if (!dialog.IsEnded())
            dialog.EndDialog(kLeftOpen);
    };
    ::SetTimer(nullptr, 0, 1, RunPendingBody);
    return dialog.DoModal();
}

// Sends a key through the dialog manager, as the modal loop does with a typed key.
inline void PressKey(HWND dialog, UINT key)
{
    HWND focus = ::GetFocus();
    MSG msg{focus ? focus : dialog, WM_KEYDOWN, key, 0, 0, {0, 0}};
    if (!::IsDialogMessageA(dialog, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Types characters into a control as the keyboard would (one WM_CHAR each).
inline void Type(HWND control, const char *text)
{
    for (const char *c = text; *c; ++c)
        ::SendMessageA(control, WM_CHAR, static_cast<unsigned char>(*c), 0);
}

// Answers the message boxes that this thread opens, in order, from inside their own modal loops,
// and keeps their texts and captions.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::vector<int> answers) : answers_(std::move(answers))
    {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 20, OnTimer);
    }
    ~BoxAnswerer()
    {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    BoxAnswerer(const BoxAnswerer &) = delete;
    BoxAnswerer &operator=(const BoxAnswerer &) = delete;

    std::vector<std::string> texts;
    std::vector<std::string> captions;

private:
    static BOOL CALLBACK FindBox(HWND window, LPARAM parameter)
    {
        char name[32] = "";
        ::GetClassNameA(window, name, sizeof name);
        // A message box is a dialog, owned by the dialog under test, whose text sits in the
        // static 0xFFFF.
        if (std::string(name) == "#32770" && ::IsWindowVisible(window) && ::GetWindow(window, GW_OWNER) &&
            ::GetDlgItem(window, 0xFFFF)) {
            *reinterpret_cast<HWND *>(parameter) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        BoxAnswerer *self = current_;
        if (!self || self->next_ >= self->answers_.size())
            return;
        HWND box = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
        if (!box || box == self->lastBox_)
            return;
        self->lastBox_ = box;
        self->texts.push_back(Text(::GetDlgItem(box, 0xFFFF)));
        self->captions.push_back(Text(box));
        ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(self->answers_[self->next_++]), 0);
    }

    static inline BoxAnswerer *current_ = nullptr;
    std::vector<int> answers_;
    size_t next_ = 0;
    HWND lastBox_ = nullptr;
    UINT_PTR timer_ = 0;
};

} // namespace dialog_driver
