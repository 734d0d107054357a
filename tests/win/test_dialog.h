// A dialog of the test program that runs a test body once it is initialised, then ends.
#pragma once

#include "framework/dialog.h"
#include "test_ids.h"

#include <functional>

class TestDialog : public Dialog {
public:
    explicit TestDialog(std::function<void(TestDialog &)> body) : Dialog(IDD_TEST), body_(std::move(body)) {}

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
        Post(kRunBody);
        return true;
    }

    bool ProcessMessage(Message &m) override
    {
        if (m.id == kRunBody) {
            body_(*this);
            if (endAfterBody && !IsEnded())
                EndDialog(IDABORT);
            return true;
        }
        if (m.id == kFinish) {
            EndDialog(static_cast<INT_PTR>(m.wParam));
            return true;
        }
        return Dialog::ProcessMessage(m);
    }

private:
    static constexpr UINT kRunBody = WM_APP + 1;
    std::function<void(TestDialog &)> body_;
};
