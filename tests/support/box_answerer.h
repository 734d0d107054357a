// Answers the message boxes of the thread that creates it, from a worker, and records their texts
// and captions. The window tests run the program's modal boxes on their own thread, so someone
// else has to press the buttons. The one answerer of the window tests.
#pragma once

#include "framework/thread.h"
#include "tests/support/controls.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class BoxAnswerer {
public:
    // Every box is answered, with OK where the box has it, else "Nein".
    BoxAnswerer() : BoxAnswerer(std::vector<int>{}) {}
    // answers: the buttons to press in turn, after which it stops (none: as above). caption: only
    // boxes of that caption (empty: any).
    explicit BoxAnswerer(std::vector<int> answers, std::string caption = {})
        : answers_(std::move(answers)), caption_(std::move(caption)), uiThread_(::GetCurrentThreadId())
    {
        worker_.Start([this] { Run(); });
    }
    ~BoxAnswerer()
    {
        done_ = true;
        worker_.Wait(3000);
    }
    BoxAnswerer(const BoxAnswerer &) = delete;
    BoxAnswerer &operator=(const BoxAnswerer &) = delete;

    std::vector<std::string> Texts()
    {
        std::lock_guard lock(mutex_);
        return texts_;
    }
    std::vector<std::string> Captions()
    {
        std::lock_guard lock(mutex_);
        return captions_;
    }
    std::size_t Count() { return Texts().size(); }

private:
    struct Search {
        const std::string &caption;
        HWND box = nullptr;
    };

    // A message box is a dialog with the text item 0xFFFF; other dialogs' labels have that id too,
    // hence the caption where the test knows it.
    static BOOL CALLBACK FindBox(HWND window, LPARAM parameter)
    {
        auto &search = *reinterpret_cast<Search *>(parameter);
        if (IsMessageBox(window) && ::IsWindowVisible(window) &&
            (search.caption.empty() || Text(window) == search.caption)) {
            search.box = window;
            return FALSE;
        }
        return TRUE;
    }

    void Run()
    {
        std::size_t next = 0;
        while (!done_ && (answers_.empty() || next < answers_.size())) {
            Search search{caption_};
            ::EnumThreadWindows(uiThread_, FindBox, reinterpret_cast<LPARAM>(&search));
            HWND box = search.box;
            if (!box) {
                ::Sleep(10);
                continue;
            }
            {
                std::lock_guard lock(mutex_);
                texts_.push_back(MessageBoxText(box));
                captions_.push_back(Text(box));
            }
            const int answer = answers_.empty() ? (::GetDlgItem(box, IDOK) ? IDOK : IDNO) : answers_[next++];
            ::PostMessageA(box, WM_COMMAND, answer, 0);
            // Answered, a box hides at once, though its loop ends only after that of a box opened
            // on top of it, which is the next to answer.
            while (::IsWindow(box) && ::IsWindowVisible(box) && !done_)
                ::Sleep(10);
        }
    }

    const std::vector<int> answers_;
    const std::string caption_;
    const DWORD uiThread_;
    std::atomic<bool> done_{false};
    std::mutex mutex_;
    std::vector<std::string> texts_;
    std::vector<std::string> captions_;
    WorkerThread worker_;
};
