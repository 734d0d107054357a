// Drives a modal dialog from inside its own modal loop and answers the message boxes it opens.
#pragma once

#include "framework/dialog.h"
#include "framework/window.h"

#include <functional>
#include <string>
#include <vector>

namespace dialog_driver {

inline std::string Text(HWND window) { return Window(window).GetText(); }

// What a dialog that the body left open returns.
constexpr INT_PTR kLeftOpen = -7;

inline std::function<void()> pending;

inline void CALLBACK RunPending(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    const std::function<void()> run = std::move(pending);
    run();
}

// Runs the dialog modally; once it is up, the body runs inside its modal loop. Returns the result.
inline INT_PTR RunModal(Dialog &dialog, const std::function<void(HWND)> &body)
{
    pending = [&] {
        body(dialog.GetSafeHwnd());
        if (!dialog.IsEnded())
            dialog.EndDialog(kLeftOpen);
    };
    ::SetTimer(nullptr, 0, 1, RunPending);
    return dialog.DoModal();
}

// A key as the modal loop hands it to the dialog manager.
inline void PressKey(HWND dialog, UINT key)
{
    MSG msg{::GetFocus() ? ::GetFocus() : dialog, WM_KEYDOWN, key, 0, 0, {0, 0}};
    ::IsDialogMessageA(dialog, &msg);
}

// Typed characters, one WM_CHAR each.
inline void Type(HWND control, const char *text)
{
    for (const char *c = text; *c; ++c)
        ::SendMessageA(control, WM_CHAR, static_cast<unsigned char>(*c), 0);
}

// Answers the message boxes this thread opens, in order, from inside their own modal loops
// (a thread timer), and keeps their texts and captions.
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
    // A message box: a dialog with an owner and its text in the static 0xFFFF.
    static BOOL CALLBACK FindBox(HWND window, LPARAM found)
    {
        char name[16] = "";
        ::GetClassNameA(window, name, sizeof name);
        if (std::string(name) != "#32770" || !::IsWindowVisible(window) || !::GetWindow(window, GW_OWNER) ||
            !::GetDlgItem(window, 0xFFFF))
            return TRUE;
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        BoxAnswerer *self = current_;
        HWND box = nullptr;
        if (!self || self->texts.size() >= self->answers_.size() ||
            ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box)) || box == self->last_)
            return;
        self->last_ = box;
        self->texts.push_back(Text(::GetDlgItem(box, 0xFFFF)));
        self->captions.push_back(Text(box));
        ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(self->answers_[self->texts.size() - 1]), 0);
    }

    static inline BoxAnswerer *current_ = nullptr;
    std::vector<int> answers_;
    HWND last_ = nullptr;
    UINT_PTR timer_ = 0;
};

} // namespace dialog_driver
