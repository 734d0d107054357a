// The window tests' own dialog (win_tests.rc): however it is run (Run, or by the code under test),
// its body runs inside its modal loop as in every dialog run (tests/support/dialog_run.h), then
// it ends.
#pragma once

#include "framework/dialog.h"
#include "test_ids.h"
#include "tests/support/dialog_run.h"

#include <functional>

class TestDialog : public Dialog {
public:
    explicit TestDialog(std::function<void(TestDialog &)> body) : Dialog(IDD_TEST), body_(std::move(body)) {}
    ~TestDialog() override
    {
        if (timer_)
            CancelLater(timer_);
    }

    // Runs the body inside the dialog's own modal loop; ends it with IDABORT unless the body
    // ended it or endAfterBody is false. Posting kFinish with a result ends it too.
    INT_PTR Run() { return DoModal(nullptr); }

    static constexpr UINT kFinish = WM_APP + 2;
    bool endAfterBody = true;

    HWND Hwnd() const { return GetSafeHwnd(); }

protected:
    bool OnInitDialog() override
    {
        Dialog::OnInitDialog();
        timer_ = RunLater([this] {
            timer_ = 0;
            body_(*this);
            if (endAfterBody && !IsEnded())
                EndDialog(IDABORT);
        });
        return true;
    }

    bool ProcessMessage(Message &m) override
    {
        if (m.id == kFinish) {
            EndDialog(static_cast<INT_PTR>(m.wParam));
            return true;
        }
        return Dialog::ProcessMessage(m);
    }

private:
    std::function<void(TestDialog &)> body_;
    UINT_PTR timer_ = 0;
};
