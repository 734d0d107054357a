#include "framework/control.h"
#include "framework/data_exchange.h"
#include "framework/handles.h"
#include "framework/local_time.h"
#include "framework/thread.h"
#include "test_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

namespace {

// A control that records what reaches it, directly and by reflection.
class ProbeControl : public Control {
public:
    std::vector<UINT> direct;
    std::vector<UINT> reflected;
    bool preSubclassSawWindow = false;
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    ~ProbeControl() override { ::DeleteObject(brush); }

    bool OnReflect(Message &m) override
    {
        reflected.push_back(m.id);
        if (m.id == WM_CTLCOLORSTATIC) {
            m.result = reinterpret_cast<LRESULT>(brush);
            return true;
        }
        return m.id == WM_DRAWITEM || m.id == WM_COMMAND;
    }

protected:
    void PreSubclassWindow() override { preSubclassSawWindow = GetSafeHwnd() != nullptr; }
    bool ProcessMessage(Message &m) override
    {
        direct.push_back(m.id);
        if (m.id == WM_APP + 7) {
            m.result = 42;
            return true;
        }
        return false;
    }
};

bool Contains(const std::vector<UINT> &list, UINT value)
{
    for (UINT v : list)
        if (v == value)
            return true;
    return false;
}

TEST(Control, SubclassedControlGetsItsMessagesReflectionsAndLetsGoWithItsWindow)
{
    ProbeControl staticProbe;
    ProbeControl ownerDrawProbe;
    HWND staticWindow = nullptr;
    TestDialog dialog([&](TestDialog &d) {
        staticWindow = d.GetItem(IDC_TEST_STATIC);
        ASSERT_TRUE(staticProbe.SubclassDlgItem(d.Hwnd(), IDC_TEST_STATIC));
        EXPECT_TRUE(staticProbe.preSubclassSawWindow);
        EXPECT_FALSE(ProbeControl().SubclassWindow(staticWindow)) << "one object per window";
        EXPECT_EQ(Control::FromHandle(staticWindow), &staticProbe);

        EXPECT_EQ(::SendMessageA(staticWindow, WM_APP + 7, 0, 0), 42);
        // An unhandled message reaches the original window procedure.
        EXPECT_EQ(::SendMessageA(staticWindow, WM_GETTEXTLENGTH, 0, 0), 6);

        // WM_CTLCOLORSTATIC carries the child in lParam; the brush comes back directly.
        HDC dc = ::GetDC(staticWindow);
        const LRESULT brush = ::SendMessageA(d.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(staticWindow));
        ::ReleaseDC(staticWindow, dc);
        EXPECT_EQ(brush, reinterpret_cast<LRESULT>(staticProbe.brush));

        ::SendMessageA(d.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_TEST_STATIC, STN_CLICKED),
                       reinterpret_cast<LPARAM>(staticWindow));
        EXPECT_TRUE(Contains(staticProbe.reflected, WM_COMMAND));

        // A notification sent from another thread is none of our controls', whatever it names.
        NMHDR named{staticWindow, IDC_TEST_STATIC, NM_CLICK};
        const auto notify = [&] { ::SendMessageA(d.Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&named)); };
        WorkerThread stranger;
        ASSERT_TRUE(stranger.Start(notify));
        EXPECT_TRUE(stranger.WaitPumpingSent(5000));
        EXPECT_FALSE(Contains(staticProbe.reflected, WM_NOTIFY));
        notify();
        EXPECT_TRUE(Contains(staticProbe.reflected, WM_NOTIFY)) << "from the window's own thread";

        // WM_DRAWITEM carries a struct, not a window: the real paint of an owner-drawn button.
        ASSERT_TRUE(ownerDrawProbe.SubclassDlgItem(d.Hwnd(), IDC_TEST_OWNERDRAW));
        HWND button = d.GetItem(IDC_TEST_OWNERDRAW);
        ::InvalidateRect(button, nullptr, TRUE);
        ::UpdateWindow(button);
        EXPECT_TRUE(Contains(ownerDrawProbe.reflected, WM_DRAWITEM));
        EXPECT_FALSE(Contains(staticProbe.reflected, WM_DRAWITEM));
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.Run(), IDOK);
    EXPECT_EQ(staticProbe.GetSafeHwnd(), nullptr) << "the binding ends with the window";
    EXPECT_EQ(ownerDrawProbe.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(::IsWindow(staticWindow));
}

class MappedDialog : public TestDialog {
public:
    using TestDialog::TestDialog;
    std::vector<UINT> commands;
    int edits = 0;
    bool swallowEscape = false;

protected:
    bool ProcessMessage(Message &m) override
    {
        static const MapEntry<MappedDialog> map[] = {
            ON_COMMAND_RANGE(IDC_TEST_RADIO1, IDC_TEST_RADIO3, &MappedDialog::OnRadio),
            ON_COMMAND(IDC_TEST_CHECK, &MappedDialog::OnCheck),
            ON_CONTROL(EN_CHANGE, IDC_TEST_EDIT, &MappedDialog::OnEditChange),
        };
        return DispatchMessageMap(this, map, m) || TestDialog::ProcessMessage(m);
    }
    bool PreTranslateMessage(MSG &msg) override
    {
        return swallowEscape && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE;
    }

private:
    bool OnRadio(Message &m)
    {
        commands.push_back(m.CommandId());
        return true;
    }
    void OnCheck() { commands.push_back(IDC_TEST_CHECK); }
    bool OnEditChange(Message &)
    {
        ++edits;
        return true;
    }
};

TEST(Dialog, MessageMapRoutesCommandsByIdRangeAndNotificationCode)
{
    MappedDialog *self = nullptr;
    MappedDialog dialog([&](TestDialog &d) {
        ::SendMessageA(d.GetItem(IDC_TEST_RADIO2), BM_CLICK, 0, 0);
        ::SendMessageA(d.GetItem(IDC_TEST_CHECK), BM_CLICK, 0, 0);
        ::SendMessageA(d.GetItem(IDC_TEST_RADIO3), BM_CLICK, 0, 0);
        ::SetWindowTextA(d.GetItem(IDC_TEST_EDIT), "Tee");
        // A focus notification of the check box is not a command.
        ::SendMessageA(d.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_TEST_CHECK, BN_SETFOCUS),
                       reinterpret_cast<LPARAM>(d.GetItem(IDC_TEST_CHECK)));
        ::SendMessageA(d.GetItem(IDOK), BM_CLICK, 0, 0);
    });
    self = &dialog;
    EXPECT_EQ(dialog.Run(), IDOK) << "OK ends the dialog by default";
    EXPECT_EQ(self->commands, (std::vector<UINT>{IDC_TEST_RADIO2, IDC_TEST_CHECK, IDC_TEST_RADIO3}));
    EXPECT_EQ(self->edits, 1);
}

INT_PTR RunWithEscape(bool swallow)
{
    // Escape goes first, the finish request after it: the dialog ends with IDCANCEL if the
    // dialog manager saw Escape, else with the finish request's IDRETRY.
    MappedDialog dialog([](TestDialog &d) {
        ::SetFocus(d.GetItem(IDC_TEST_EDIT));
        ::PostMessageA(d.GetItem(IDC_TEST_EDIT), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        d.Post(TestDialog::kFinish, IDRETRY);
    });
    dialog.swallowEscape = swallow;
    dialog.endAfterBody = false;
    return dialog.Run();
}

TEST(Dialog, PreTranslateMessageSeesKeysBeforeTheDialogManager)
{
    EXPECT_EQ(RunWithEscape(false), IDCANCEL);
    EXPECT_EQ(RunWithEscape(true), IDRETRY);
}

class ExchangeDialog : public TestDialog {
public:
    using TestDialog::TestDialog;
    std::string text = "Darjeeling";
    int number = 17;
    int check = BST_INDETERMINATE;
    std::atomic<std::int32_t> radio{2};
    int slider = 7;
    std::atomic<std::int32_t> timePoint{140400};

protected:
    void DoDataExchange(DataExchange &dx) override
    {
        DDX_Text(dx, IDC_TEST_EDIT, text);
        DDX_Int(dx, IDC_TEST_NUMBER, number);
        DDX_Check(dx, IDC_TEST_CHECK, check);
        DDX_Radio(dx, IDC_TEST_RADIO1, radio);
        DDX_Slider(dx, IDC_TEST_SLIDER, slider);
        DDX_TimeOfDay(dx, IDC_TEST_TIME, timePoint);
    }
};

TEST(DataExchange, FieldsRoundTripThroughTheirControls)
{
    ExchangeDialog dialog([](TestDialog &d) {
        auto &x = static_cast<ExchangeDialog &>(d);
        ::SendMessageA(d.GetItem(IDC_TEST_SLIDER), TBM_SETRANGE, TRUE, MAKELPARAM(0, 59));
        x.UpdateData(false);
        EXPECT_EQ(d.GetItemText(IDC_TEST_EDIT), "Darjeeling");
        EXPECT_EQ(d.GetItemText(IDC_TEST_NUMBER), "17");
        EXPECT_EQ(::SendMessageA(d.GetItem(IDC_TEST_CHECK), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
        EXPECT_EQ(::SendMessageA(d.GetItem(IDC_TEST_RADIO3), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(::SendMessageA(d.GetItem(IDC_TEST_RADIO1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(::SendMessageA(d.GetItem(IDC_TEST_OTHER), BM_GETCHECK, 0, 0), BST_UNCHECKED)
            << "the radio group ends at the next WS_GROUP";

        ::SetDlgItemTextA(d.Hwnd(), IDC_TEST_EDIT, "Assam");
        ::SetDlgItemTextA(d.Hwnd(), IDC_TEST_NUMBER, "-5");
        ::SendMessageA(d.GetItem(IDC_TEST_CHECK), BM_SETCHECK, BST_CHECKED, 0);
        ::SendMessageA(d.GetItem(IDC_TEST_RADIO3), BM_SETCHECK, BST_UNCHECKED, 0);
        ::SendMessageA(d.GetItem(IDC_TEST_RADIO1), BM_SETCHECK, BST_CHECKED, 0);
        ::SendMessageA(d.GetItem(IDC_TEST_SLIDER), TBM_SETPOS, TRUE, 33);
        SYSTEMTIME picked{};
        ::SendMessageA(d.GetItem(IDC_TEST_TIME), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked));
        picked.wHour = static_cast<WORD>((picked.wHour + 1) % 24);
        picked.wMinute = 30;
        picked.wSecond = 5;
        ::SendMessageA(d.GetItem(IDC_TEST_TIME), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&picked));
        const std::int32_t before = x.timePoint;

        ASSERT_TRUE(x.UpdateData(true));
        EXPECT_EQ(x.text, "Assam");
        EXPECT_EQ(x.number, -5);
        EXPECT_EQ(x.check, BST_CHECKED);
        EXPECT_EQ(x.radio, 0);
        EXPECT_EQ(x.slider, 33);
        SYSTEMTIME beforeLocal, afterLocal;
        ASSERT_TRUE(BreakDownLocalTime(before, beforeLocal));
        ASSERT_TRUE(BreakDownLocalTime(x.timePoint, afterLocal));
        EXPECT_EQ(afterLocal.wHour, picked.wHour);
        EXPECT_EQ(afterLocal.wMinute, 30);
        EXPECT_EQ(afterLocal.wSecond, 5);
        EXPECT_EQ(afterLocal.wDay, beforeLocal.wDay) << "the date part stays";
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.Run(), IDOK);
}

TEST(LocalTime, EveryThirtyTwoBitTimePointBreaksDownAndComposesBack)
{
    for (std::int64_t t :
         {std::int64_t(INT32_MIN), std::int64_t(-1), std::int64_t(0), std::int64_t(140400), std::int64_t(INT32_MAX)}) {
        SYSTEMTIME local;
        ASSERT_TRUE(BreakDownLocalTime(t, local)) << t;
        std::int32_t back = 0;
        if (ComposeLocalTime(local, back)) {
            EXPECT_EQ(back, t);
        }
    }
    SYSTEMTIME farFuture{};
    farFuture.wYear = 2100;
    farFuture.wMonth = 1;
    farFuture.wDay = 1;
    std::int32_t out = 7;
    EXPECT_FALSE(ComposeLocalTime(farFuture, out)) << "beyond 2038 does not fit 32 bits";
    EXPECT_EQ(out, 7);
}

TEST(Threads, HandOverRunsOnTheUiThreadAndThePumpingWaitLetsTheWorkerFinish)
{
    DWORD uiThread = ::GetCurrentThreadId();
    DWORD ranOn = 0;
    bool handedOver = false;
    bool plainWaitTimedOut = false;
    bool pumpedWaitFinished = false;
    int strangerRuns = 0;
    const std::function<void()> strangersCode = [&] { ++strangerRuns; };
    WorkerThread late;
    bool lateHandedOver = true;
    bool lateRan = false;
    TestDialog dialog([&](TestDialog &d) {
        // The hand-over's message number as any other program may post or send it, naming code.
        WorkerThread stranger;
        ASSERT_TRUE(stranger.Start([&] {
            ::PostMessageA(d.Hwnd(), WM_APP + 0x100, 0, reinterpret_cast<LPARAM>(&strangersCode));
            ::SendMessageA(d.Hwnd(), WM_APP + 0x100, 0, reinterpret_cast<LPARAM>(&strangersCode));
        }));
        EXPECT_TRUE(stranger.WaitPumpingSent(5000));
        PumpUntil([] { return false; }, 100); // the posted one is dispatched meanwhile

        WorkerThread worker;
        ASSERT_TRUE(worker.Start([&] {
            handedOver = RunOnWindowThread(d.Hwnd(), [&] { ranOn = ::GetCurrentThreadId(); });
        }));
        // The worker is stuck in its hand-over until this thread answers sent messages.
        plainWaitTimedOut = !worker.Wait(200);
        EXPECT_TRUE(worker.IsRunning());
        pumpedWaitFinished = worker.WaitPumpingSent(5000);
        EXPECT_FALSE(worker.IsRunning());

        // A hand-over still waiting when the window goes runs nothing, and its worker hears so.
        ASSERT_TRUE(late.Start([&] { lateHandedOver = RunOnWindowThread(d.Hwnd(), [&] { lateRan = true; }); }));
        ::Sleep(100);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.Run(), IDOK);
    EXPECT_TRUE(late.WaitPumpingSent(5000));
    EXPECT_FALSE(lateHandedOver);
    EXPECT_FALSE(lateRan);
    EXPECT_EQ(strangerRuns, 0) << "a message from outside ran code it named";
    EXPECT_TRUE(plainWaitTimedOut);
    EXPECT_TRUE(pumpedWaitFinished);
    EXPECT_TRUE(handedOver);
    EXPECT_EQ(ranOn, uiThread);
}

TEST(Threads, EventsAndWorkerLifecycle)
{
    Event stop(false, false);
    EXPECT_FALSE(stop.IsSet());
    stop.Set();
    EXPECT_TRUE(stop.IsSet());
    EXPECT_FALSE(stop.IsSet()) << "auto-reset: polling consumes the signal";

    WorkerThread never;
    EXPECT_FALSE(never.IsRunning());
    EXPECT_TRUE(never.Wait(0)) << "a worker that never started counts as ended";

    WorkerThread stubborn;
    ASSERT_TRUE(stubborn.Start([] { ::Sleep(INFINITE); }));
    EXPECT_FALSE(stubborn.Wait(50));
    stubborn.Terminate();
    EXPECT_TRUE(stubborn.Wait(2000));
    EXPECT_FALSE(stubborn.IsRunning());
}

TEST(Handles, MemoryDcAndSelectionPutEverythingBack)
{
    HDC screen = ::GetDC(nullptr);
    {
        MemoryDc memory(screen, 10, 10);
        ASSERT_TRUE(memory);
        UniqueBrush red(::CreateSolidBrush(RGB(255, 0, 0)));
        RECT all{0, 0, 10, 10};
        {
            ScopedSelect select(memory.get(), red.get());
            EXPECT_EQ(::GetCurrentObject(memory.get(), OBJ_BRUSH), red.get());
        }
        EXPECT_NE(::GetCurrentObject(memory.get(), OBJ_BRUSH), red.get()) << "selection restored";
        ::FillRect(memory.get(), &all, red.get());
        EXPECT_EQ(::GetPixel(memory.get(), 5, 5), RGB(255, 0, 0));
    }
    ::ReleaseDC(nullptr, screen);
}

} // namespace
