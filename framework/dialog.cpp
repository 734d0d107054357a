#include "framework/dialog.h"

#include "framework/control.h"
#include "framework/data_exchange.h"
#include "framework/late_bound.h"
#include "framework/unique_any.h"

#include <commctrl.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

// Private message of the UI hand-over. It only announces that work waits for the window and
// carries nothing: any program may send a number of the private range to any window.
constexpr UINT kRunOnThreadMessage = WM_APP + 0x100;

// One RunOnWindowThread call. It lives on the calling worker's stack, which the worker leaves
// only once the work has run or has been taken out unrun.
struct HandOver {
    enum class State { Queued, Running, Done, Dropped };
    HWND window;
    const std::function<void()> *work;
    State state = State::Queued;
};

// The hand-overs of all threads of the process that wait for their windows' threads.
class HandOverQueue {
public:
    void Add(HandOver &handOver)
    {
        const std::lock_guard<std::mutex> guard(lock);
        queued.push_back(&handOver);
    }

    // On the window's thread: runs what waits for the window, also what came meanwhile.
    void RunFor(HWND window)
    {
        while (HandOver *handOver = TakeFor(window)) {
            try {
                (*handOver->work)();
            } catch (...) {
                // The worker hears "run" all the same; nothing unwinds through the window manager.
            }
            {
                const std::lock_guard<std::mutex> guard(lock);
                handOver->state = HandOver::State::Done; // the worker may return from here on
            }
            finished.notify_all();
        }
    }

    // The window is going: what still waits for it is never run.
    void DropFor(HWND window)
    {
        const std::lock_guard<std::mutex> guard(lock);
        for (HandOver *handOver : queued)
            if (handOver->window == window)
                handOver->state = HandOver::State::Dropped;
        std::erase_if(queued, [](const HandOver *h) { return h->state == HandOver::State::Dropped; });
    }

    // On the worker, once its announcement has been answered: true when the work ran. A run
    // under way (begun by another announcement while this one waited) is waited for; work still
    // queued (the window went, or it was no dialog) is taken out.
    bool Settle(HandOver &handOver)
    {
        std::unique_lock<std::mutex> guard(lock);
        if (handOver.state == HandOver::State::Queued)
            std::erase(queued, &handOver);
        finished.wait(guard, [&] { return handOver.state != HandOver::State::Running; });
        return handOver.state == HandOver::State::Done;
    }

private:
    HandOver *TakeFor(HWND window)
    {
        const std::lock_guard<std::mutex> guard(lock);
        const auto found =
            std::find_if(queued.begin(), queued.end(), [window](const HandOver *h) { return h->window == window; });
        if (found == queued.end())
            return nullptr;
        HandOver *handOver = *found;
        queued.erase(found);
        handOver->state = HandOver::State::Running;
        return handOver;
    }

    std::mutex lock;
    std::condition_variable finished;
    // In the order they came; the vector keeps its room, so a steady hand-over allocates nothing.
    std::vector<HandOver *> queued;
};

HandOverQueue &HandOvers()
{
    static HandOverQueue queue;
    return queue;
}

// Messages whose result the dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

// The child window a notification belongs to, or null. Each message carries it differently.
HWND ReflectionTarget(const Message &m)
{
    switch (m.id) {
    case WM_DRAWITEM:
        return m.wParam ? reinterpret_cast<const DRAWITEMSTRUCT *>(m.lParam)->hwndItem : nullptr;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(m.lParam);
    case WM_NOTIFY:
        return reinterpret_cast<const NMHDR *>(m.lParam)->hwndFrom;
    default:
        return nullptr;
    }
}

// Controls send their notifications on the window's own thread; nothing of ours posts one. A
// WM_NOTIFY in the queue comes from another program, and its lParam points at nothing of ours:
// turned into a null message here, it reaches no window, whichever loop takes it (the dialog's,
// a box's or a menu's).
LRESULT CALLBACK DropPostedNotifications(int code, WPARAM removal, LPARAM message)
{
    if (code == HC_ACTION) {
        MSG &msg = *reinterpret_cast<MSG *>(message);
        if (msg.message == WM_NOTIFY)
            msg.message = WM_NULL;
    }
    return ::CallNextHookEx(nullptr, code, removal, message);
}

using UniqueHook = UniqueAny<HHOOK, ::UnhookWindowsHookEx>;

} // namespace

Dialog *Dialog::mainDialog = nullptr;

namespace {
// The common controls (date pickers, spin buttons, the animation) are registered when the first
// dialog other than the main window opens: the main window has none, so the program starts
// without loading their library.
// Without the library a dialog that holds such controls cannot be created, which DoModal reports
// as -1 to its caller; the next dialog tries again.
void EnsureCommonControls()
{
    static bool registered = false; // dialogs run on the UI thread only
    if (registered)
        return;
    const auto initCommonControls = LATE_BOUND("comctl32.dll", InitCommonControlsEx);
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    registered = initCommonControls && initCommonControls(&controls) != FALSE;
}
} // namespace

Dialog::~Dialog()
{
    if (hwnd)
        ::DestroyWindow(hwnd);
    if (mainDialog == this)
        mainDialog = nullptr;
}

INT_PTR Dialog::DoModal(HWND owner)
{
    if (mainDialog != this)
        EnsureCommonControls();
    if (!owner && mainDialog && mainDialog != this)
        owner = mainDialog->GetSafeHwnd();
    ended = false;
    programEnded = false;
    result = -1;

    const UniqueHook notificationFilter(
        ::SetWindowsHookExA(WH_GETMESSAGE, DropPostedNotifications, nullptr, ::GetCurrentThreadId()));
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);

    HWND created = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    opened = created != nullptr;
    if (created) {
        if (!ended && !::IsWindowVisible(created))
            ::ShowWindow(created, SW_SHOWNORMAL);
        RunModalLoop();
        // Hide first and give activation back to the owner before the window goes away, so the
        // focus does not wander to another program.
        ::SetWindowPos(created, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner && created && ::GetActiveWindow() == created)
        ::SetActiveWindow(owner);
    if (created)
        ::DestroyWindow(created);
    return result;
}

void Dialog::RunModalLoop()
{
    MSG msg;
    // A window destroyed from outside ends the loop as well.
    while (!ended && hwnd) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            NotifyProgramEnd();
            ::PostQuitMessage(static_cast<int>(msg.wParam)); // let outer loops see it too
            break;
        }
        if (got == -1)
            break;
        const bool ours = msg.hwnd == hwnd || ::IsChild(hwnd, msg.hwnd);
        if (ours && PreTranslateMessage(msg))
            continue;
        if (::IsDialogMessageA(hwnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void Dialog::NotifyProgramEnd()
{
    if (programEnded)
        return;
    programEnded = true;
    OnProgramEnd();
}

void Dialog::EndDialog(INT_PTR code)
{
    result = code;
    ended = true;
    if (hwnd)
        ::PostMessageA(hwnd, WM_NULL, 0, 0); // wake the modal loop
}

bool Dialog::UpdateData(bool save)
{
    DataExchange dx(*this, save);
    DoDataExchange(dx);
    return !dx.failed;
}

bool Dialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void Dialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::PreTranslateMessage(MSG &) { return false; }

bool Dialog::ProcessMessage(Message &) { return false; }

void Dialog::DoDataExchange(DataExchange &) {}

bool Dialog::HandleMessage(Message &m)
{
    if (HWND child = ReflectionTarget(m)) {
        if (Control *control = Control::FromHandle(child); control && control->OnReflect(m))
            return true;
    }
    switch (m.id) {
    case WM_INITDIALOG:
        m.result = OnInitDialog();
        return true;
    case kRunOnThreadMessage:
        HandOvers().RunFor(hwnd);
        return true;
    case WM_ENDSESSION:
        // Every top-level window hears it, a dialog too; the main window's own handler ends the
        // program.
        if (m.wParam)
            NotifyProgramEnd();
        break;
    default:
        break;
    }
    if (ProcessMessage(m))
        return true;
    if (m.id == WM_COMMAND && m.NotifyCode() == BN_CLICKED) {
        if (m.CommandId() == IDOK) {
            OnOK();
            return true;
        }
        if (m.CommandId() == IDCANCEL) {
            OnCancel();
            return true;
        }
    }
    return false;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog *self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog *>(lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->hwnd = hwnd;
    } else {
        self = reinterpret_cast<Dialog *>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    // Sent from another thread (another program's, on a system that passes it on), a notification
    // is not from our controls, and its lParam is not ours to read.
    if (!self || (message == WM_NOTIFY && ::InSendMessage()))
        return FALSE;
    if (message == WM_NCDESTROY) {
        HandOvers().DropFor(hwnd);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd = nullptr;
        return FALSE;
    }

    Message m{message, wParam, lParam};
    bool handled = false;
    try {
        handled = self->HandleMessage(m);
    } catch (...) {
        // Nothing may unwind through the window manager.
        handled = false;
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(m.result);
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, m.result);
    return TRUE;
}

bool RunOnWindowThread(HWND window, const std::function<void()> &work)
{
    if (!::IsWindow(window))
        return false;
    HandOver handOver{window, &work};
    HandOvers().Add(handOver);
    ::SendMessageA(window, kRunOnThreadMessage, 0, 0);
    return HandOvers().Settle(handOver);
}
