#include "invite/invitation_dialog.h"

#include "framework/data_exchange.h"
#include "framework/dpi.h"
#include "framework/late_bound.h"
#include "framework/message_box.h"
#include "invite/console_redirector.h"
#include "invite/invitation_rules.h"
#include "pictures/picture_bitmap.h"
#include "pictures/pictures.h"
#include "res/resource.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>

namespace {

constexpr DWORD kSendDelayMs = 1000;
constexpr std::size_t kErrorTextBytes = 256;
constexpr DWORD kNoDefaultLanguage = 0x0400;
constexpr char kAccessFailed[] = "Zugriff nicht möglich";
constexpr const char *kActionFailed[] = {"Nachrichtendienst konnte nicht gestartet werden",
                                         "Nachrichtendienst konnte nicht angehalten werden"};
constexpr char kSendingText[] = "Nachricht wird gesendet. Bitte warten...";
constexpr char kBrowseTitle[] = "Wählen Sie hier den Computer des Empfängers Ihrer Nachricht aus:";
constexpr char kNotSaved[] = "Die Eingaben konnten nicht in der Registrierung gespeichert werden.";

} // namespace

std::string SystemNetPath()
{
    char folder[MAX_PATH] = "";
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    // Without the folder no path: the start then fails and says so, rather than search.
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::string(folder, length) + "\\net.exe";
}

std::string (*netProgramPath)() = SystemNetPath;

InvitationDialog::InvitationDialog(Settings &settings, SettingsStore &store)
    : Dialog(IDD_INVITATION), settings(settings), store(store)
{
}

InvitationDialog::~InvitationDialog()
{
    // The workers use this object: none may outlive it, however the window went. A notification
    // left in the queue carries nothing and finds no window.
    StopAllWorkers();
}

bool InvitationDialog::AnyWorkerRunning() const
{
    return pollThread.IsRunning() || std::any_of(actionThreads.begin(), actionThreads.end(),
                                                 [](const auto &action) { return action->worker.IsRunning(); });
}

bool InvitationDialog::ProcessMessage(Message &m)
{
    static const MapEntry<InvitationDialog> map[] = {
        ON_COMMAND(IDC_INV_SEND, &InvitationDialog::OnSend),
        ON_COMMAND(IDC_INV_CLEAR, &InvitationDialog::OnClear),
        ON_COMMAND(IDC_INV_BROWSE, &InvitationDialog::OnBrowseRecipient),
        ON_COMMAND(IDC_INV_START, &InvitationDialog::OnStartService),
        ON_COMMAND(IDC_INV_STOP, &InvitationDialog::OnStopService),
        ON_COMMAND_RANGE(IDC_INV_MODE_MEMBER, IDC_INV_MODE_USERS, &InvitationDialog::OnRecipientMode),
        ON_CONTROL(EN_CHANGE, IDC_INV_MESSAGE, &InvitationDialog::OnMessageChanged),
        ON_MESSAGE(WM_CTLCOLORSTATIC, &InvitationDialog::OnCtlColor),
        ON_MESSAGE(WM_CTLCOLOREDIT, &InvitationDialog::OnCtlColor),
        ON_MESSAGE(kWorkerNewsMessage, &InvitationDialog::OnWorkerNews),
    };
    return DispatchMessageMap(this, map, m) || Dialog::ProcessMessage(m);
}

void InvitationDialog::DoDataExchange(DataExchange &dx)
{
    // The longer of the two limits binds a message set from outside too: a multi-line field tells
    // nothing of a WM_SETTEXT, so the change handler never sees it.
    DDX_Text(dx, IDC_INV_MESSAGE, message, invite::kMemberMaxChars);
    DDX_Radio(dx, IDC_INV_MODE_MEMBER, recipientMode);
    DDX_Text(dx, IDC_INV_RECIPIENT, recipient, kMaxTextLength);
    DDX_Check(dx, IDC_INV_SAVE_INPUTS, saveInputs);
}

bool InvitationDialog::OnInitDialog()
{
    recipientMode = invite::OneMember;
    maxChars = invite::kMemberMaxChars;
    serviceAccessible = true;
    workersStopped = false;
    inputsKept.reset();
    programEnding = false;
    recipient = settings.recipient;
    message = settings.nsMessage;
    saveInputs = settings.saveSettings ? BST_CHECKED : BST_UNCHECKED;
    Dialog::OnInitDialog();
    Message changed{WM_COMMAND, MAKEWPARAM(IDC_INV_MESSAGE, EN_CHANGE), 0};
    OnMessageChanged(changed);

    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    LoadLamps();
    statusBrush.reset(::CreateSolidBrush(RGB(255, 255, 255)));
    ::SendMessageA(GetItem(IDC_INV_ANIMATION), ACM_OPENA, reinterpret_cast<WPARAM>(instance),
                   reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(IDA_SENDING)));

    workerTarget = hwnd;
    // No default focus after the error box.
    return InitServiceControl();
}

// ---------------------------------------------------------------------------------------------
// The messenger service

bool InvitationDialog::InitServiceControl()
{
    serviceAccessible = true;
    const DWORD error = OpenMessengerService();
    if (error == ERROR_ACCESS_DENIED) {
        serviceAccessible = false;
        EnableItem(IDC_INV_START, false);
        EnableItem(IDC_INV_STOP, false);
        ShowServiceState(invite::kStateNoAccess);
        return true;
    }
    if (error) {
        // No state to show, but the template's picture is the running lamp: the service is not
        // known to run, so no lamp is lit.
        ShowLamp(invite::Lamp::Stopped);
        ShowSystemError(kAccessFailed, error);
        return false;
    }
    ShowServiceState(invite::kStatePaused);
    pollThread.Start([this, &stop = pollThread.StopEvent()] { StatePoller(stop); }, kWorkerStopTimeoutMs);
    return true;
}

int InvitationDialog::QueryServiceState() const
{
    return serviceAccessible ? service.QueryState() : invite::kStateNoAccess;
}

void InvitationDialog::LoadLamps()
{
    // 20 x 42 pixels at 100 %, drawn for the dialog's DPI at any other scaling.
    const UINT dpi = WindowDpi(hwnd);
    const pictures::Size design = pictures::designSize(IDB_LAMP_STOPPED);
    const int width = ScaleForDpi(design.width, dpi), height = ScaleForDpi(design.height, dpi);
    stoppedBitmap = PictureBitmap(IDB_LAMP_STOPPED, width, height, dpi);
    runningBitmap = PictureBitmap(IDB_LAMP_RUNNING, width, height, dpi);
    busyBitmap = PictureBitmap(IDB_LAMP_BUSY, width, height, dpi);
}

void InvitationDialog::ShowLamp(invite::Lamp lamp)
{
    HBITMAP picture = lamp == invite::Lamp::Stopped   ? stoppedBitmap.get()
                      : lamp == invite::Lamp::Running ? runningBitmap.get()
                                                      : busyBitmap.get();
    const auto previous = reinterpret_cast<HBITMAP>(
        ::SendMessageA(GetItem(IDC_INV_LAMP), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
    // The template's own picture is the control's to lose; ours stay with us.
    if (previous && previous != stoppedBitmap.get() && previous != runningBitmap.get() && previous != busyBitmap.get())
        ::DeleteObject(previous);
}

void InvitationDialog::ShowServiceState(int state)
{
    const invite::ServiceStateView view = invite::DescribeServiceState(state);
    ShowLamp(view.lamp);
    EnableItem(IDC_INV_START, view.startEnabled);
    EnableItem(IDC_INV_STOP, view.stopEnabled);
    EnableItem(IDC_INV_SEND, view.sendEnabled);
    SetStatusText(view.text);
}

void InvitationDialog::SetStatusText(const char *text)
{
    SetItemText(IDC_INV_STATUS, text);
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void InvitationDialog::ShowSystemError(const char *caption, DWORD error)
{
    char *systemText = nullptr;
    ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, kNoDefaultLanguage, reinterpret_cast<char *>(&systemText), 0, nullptr);
    const std::string text = invite::ComposeSystemError(caption, systemText, kErrorTextBytes);
    if (systemText)
        ::LocalFree(systemText);
    AppMessageBox(hwnd, text.c_str(), MB_ICONERROR | MB_OK);
}

void InvitationDialog::OnStartService()
{
    StartAction([this](const Event &stop) { StartServiceWorker(stop); });
}

void InvitationDialog::OnStopService()
{
    StartAction([this](const Event &stop) { StopServiceWorker(stop); });
}

bool InvitationDialog::StartAction(std::function<void(const Event &stop)> body, std::unique_ptr<SendJob> send)
{
    // A command answered while the dialog closes starts nothing the closing would miss.
    if (workersStopped)
        return false;
    std::erase_if(actionThreads, [](const auto &action) { return !IsWorkerRunning(action->worker); });
    auto action = std::make_unique<ActionWorker>();
    action->send = std::move(send);
    // The entry stays in the list (at a fixed place) as long as its thread runs.
    if (!action->worker.Start([body = std::move(body), &stop = action->worker.StopEvent()] { body(stop); },
                              kWorkerStopTimeoutMs))
        return false;
    actionThreads.push_back(std::move(action));
    return true;
}

void InvitationDialog::NotifyDialog() const { ::PostMessageA(workerTarget, kWorkerNewsMessage, 0, 0); }

void InvitationDialog::PostState(int state)
{
    results.ReportState(state);
    NotifyDialog();
}

void InvitationDialog::StatePoller(const Event &stop)
{
    int last = 0;
    while (!stop.Wait(kPollIntervalMs)) {
        const int state = QueryServiceState();
        if (state != last)
            PostState(state);
        last = state;
    }
}

void InvitationDialog::ServiceActionWorker(bool start, const Event &stop)
{
    if (!(start ? service.RequestStart() : service.RequestStop())) {
        const DWORD error = ::GetLastError();
        results.ReportError(start ? InvitationResults::Action::Start : InvitationResults::Action::Stop, error);
        NotifyDialog();
        return;
    }
    const int goal = start ? invite::kStateRunning : invite::kStateStopped;
    while (QueryServiceState() != goal) {
        if (stop.Wait(kPollIntervalMs))
            return;
    }
}

bool InvitationDialog::StopWorker(StoppableWorker &worker, DWORD timeoutMs)
{
    return !IsWorkerRunning(worker) || worker.Stop(timeoutMs);
}

void InvitationDialog::StopAllWorkers()
{
    // Out of the list first: nothing answered during the waits below walks it or adds to it.
    const std::vector<std::unique_ptr<ActionWorker>> actions = std::exchange(actionThreads, {});
    // Every worker is asked first, so they all wind down together, within one time for them all.
    pollThread.RequestStop();
    for (const auto &action : actions)
        action->worker.RequestStop();
    const DWORD asked = ::GetTickCount();
    const auto timeLeft = [&] {
        const DWORD spent = ::GetTickCount() - asked;
        return spent < kWorkerStopTimeoutMs ? kWorkerStopTimeoutMs - spent : 0;
    };
    StopWorker(pollThread, timeLeft());
    for (auto it = actions.rbegin(); it != actions.rend(); ++it) {
        // A send worker ended by force did not end its reader: that is done here, before the
        // send it reads for goes.
        if (!StopWorker((*it)->worker, timeLeft()) && (*it)->send)
            (*it)->send->Stop();
    }
}

void InvitationDialog::EndWorkers()
{
    // Already done, or under way in an end that this one came inside of.
    if (workersStopped)
        return;
    workersStopped = true;
    StopAllWorkers();
    service.Close();
}

// ---------------------------------------------------------------------------------------------
// The invitation

bool InvitationDialog::OnRecipientMode(Message &)
{
    UpdateData(true);
    maxChars = invite::MaxChars(recipientMode);
    ::SetDlgItemInt(hwnd, IDC_INV_MAXCHARS, static_cast<UINT>(maxChars), TRUE);
    const bool named = invite::NeedsRecipient(recipientMode);
    EnableItem(IDC_INV_RECIPIENT, named);
    FocusItem(named ? IDC_INV_RECIPIENT : IDC_INV_MESSAGE);
    return true;
}

bool InvitationDialog::OnMessageChanged(Message &)
{
    if (changingMessage)
        return true;
    message = GetItemText(IDC_INV_MESSAGE);
    // Only a cut text is written back, so the caret stays where the user types otherwise.
    if (invite::LimitMessage(message, maxChars)) {
        changingMessage = true;
        SetItemText(IDC_INV_MESSAGE, message.c_str());
        changingMessage = false;
        const HWND field = GetItem(IDC_INV_MESSAGE);
        const auto end = static_cast<LPARAM>(message.size());
        ::SendMessageA(field, EM_SETSEL, static_cast<WPARAM>(end), end);
        ::SendMessageA(field, EM_SCROLLCARET, 0, 0);
    }
    ::SetDlgItemInt(hwnd, IDC_INV_COUNT, static_cast<UINT>(message.size()), TRUE);
    return true;
}

void InvitationDialog::OnClear()
{
    recipient.clear();
    message.clear();
    SetItemText(IDC_INV_RECIPIENT, "");
    SetItemText(IDC_INV_MESSAGE, "");
    ::SetDlgItemInt(hwnd, IDC_INV_COUNT, 0, TRUE);
    FocusItem(invite::NeedsRecipient(recipientMode) ? IDC_INV_RECIPIENT : IDC_INV_MESSAGE);
}

void InvitationDialog::OnBrowseRecipient()
{
    const auto getMalloc = LATE_BOUND("shell32.dll", SHGetMalloc);
    const auto getFolderLocation = LATE_BOUND("shell32.dll", SHGetSpecialFolderLocation);
    const auto browseForFolder = LATE_BOUND("shell32.dll", SHBrowseForFolderA);
    if (!getMalloc || !getFolderLocation || !browseForFolder) {
        AppMessageBox(hwnd, "Die Computerauswahl kann nicht geöffnet werden.", MB_ICONERROR | MB_OK);
        FocusItem(IDC_INV_RECIPIENT);
        return;
    }
    EnsureComApartment();
    UniqueShellItem root;
    if (FAILED(getFolderLocation(hwnd, CSIDL_NETWORK, root.put())))
        root.release(); // nothing of the shell's to give back

    char displayName[MAX_PATH + 1] = "";
    BROWSEINFOA browse{};
    browse.hwndOwner = hwnd;
    browse.pidlRoot = root.get();
    browse.pszDisplayName = displayName;
    browse.lpszTitle = kBrowseTitle;
    browse.ulFlags = BIF_BROWSEFORCOMPUTER;
    if (const UniqueShellItem chosen(browseForFolder(&browse)); chosen) {
        recipient = displayName;
        SetItemText(IDC_INV_RECIPIENT, recipient.c_str());
        FocusItem(IDC_INV_MESSAGE);
    } else {
        FocusItem(IDC_INV_RECIPIENT);
    }
}

void InvitationDialog::OnSend()
{
    if (serviceAccessible && QueryServiceState() != invite::kStateRunning) {
        AppMessageBox(hwnd, "Der Nachrichtendienst ist nicht aktiv.", MB_ICONERROR | MB_OK);
        return;
    }
    UpdateData(true);
    if (invite::NeedsRecipient(recipientMode) && recipient.empty()) {
        AppMessageBox(hwnd, "Es wurde kein Empfänger angegeben.", MB_ICONERROR | MB_OK);
        FocusItem(IDC_INV_RECIPIENT);
        return;
    }
    if (message.empty()) {
        AppMessageBox(hwnd, "Es wurde kein Nachrichtentext eingegeben.", MB_ICONERROR | MB_OK);
        FocusItem(IDC_INV_MESSAGE);
        return;
    }
    EnableItem(IDC_INV_STOP, false);
    EnableItem(IDC_INV_SEND, false);
    // Built here, on the dialog's thread, so the worker reads no member the dialog writes.
    auto send = std::make_unique<SendJob>();
    send->program = netProgramPath();
    send->commandLine = invite::NetSendCommandLine(recipientMode, recipient, message);
    SendJob &job = *send;
    if (!StartAction([this, &job](const Event &stop) { SendWorker(job, stop); }, std::move(send))) {
        EnableItem(IDC_INV_STOP, serviceAccessible);
        EnableItem(IDC_INV_SEND, true);
    }
}

void InvitationDialog::SendWorker(SendJob &job, const Event &stop)
{
    results.ReportSendBegun();
    NotifyDialog();
    job.SetCaptureBuffer(job.output, sizeof job.output);
    if (!stop.Wait(kSendDelayMs) && job.Start(job.commandLine.c_str(), job.program.c_str())) {
        // The first output is the answer. A command that ends without printing ends the wait too.
        while (job.CapturedLength() == 0 && job.IsReading()) {
            if (stop.Wait(kPollIntervalMs))
                break;
        }
    }
    job.Stop();
    std::string text(job.output, static_cast<std::size_t>(job.CapturedLength()));
    // NET writes in the console's code page; the box shows the Windows one ("ungültig" stays so).
    if (!text.empty())
        ::OemToCharBuffA(text.data(), text.data(), static_cast<DWORD>(text.size()));
    results.ReportState(QueryServiceState());
    results.ReportAnswer(std::move(text));
    NotifyDialog();
}

bool InvitationDialog::OnWorkerNews(Message &)
{
    if (workersStopped)
        return true;
    // Taken out whole before anything is shown: a box below runs a message loop, in which the
    // next notification shows only what came after.
    InvitationResults::News news = results.Take();
    if (news.sendBegun) {
        SetStatusText(kSendingText);
        ::SendMessageA(GetItem(IDC_INV_ANIMATION), ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));
    }
    if (news.state)
        ShowServiceState(*news.state);
    for (const std::string &answer : news.answers) {
        ::SendMessageA(GetItem(IDC_INV_ANIMATION), ACM_STOP, 0, 0);
        EnableItem(IDC_INV_STOP, serviceAccessible);
        EnableItem(IDC_INV_SEND, true);
        AppMessageBox(hwnd, answer.c_str(), MB_OK);
    }
    for (const InvitationResults::SystemError &error : news.errors)
        ShowSystemError(kActionFailed[error.action == InvitationResults::Action::Stop ? 1 : 0], error.code);
    return true;
}

bool InvitationDialog::OnCtlColor(Message &m)
{
    // The status line and the animation sit on the white strip along the bottom.
    if (m.Sender() != GetItem(IDC_INV_STATUS) && m.Sender() != GetItem(IDC_INV_ANIMATION))
        return false;
    const HDC dc = reinterpret_cast<HDC>(m.wParam);
    ::SetBkColor(dc, RGB(255, 255, 255));
    m.result = reinterpret_cast<LRESULT>(statusBrush.get());
    return true;
}

bool InvitationDialog::PreTranslateMessage(MSG &msg)
{
    // Escape never closes this dialog.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        msg.wParam = 0;
        return true;
    }
    return Dialog::PreTranslateMessage(msg);
}

bool InvitationDialog::KeepInputs()
{
    // Stored before the workers are waited for: Windows may end the process as soon as a session
    // end answered during that wait returns.
    if (!inputsKept) {
        UpdateData(true);
        const bool keep = saveInputs == BST_CHECKED;
        settings.recipient = keep ? recipient : std::string();
        settings.nsMessage = keep ? message : std::string();
        settings.saveSettings = keep ? 1 : 0;
        // Nothing is missed where the user asked to keep nothing.
        inputsKept = store.saveNetsend() || !keep;
    }
    EndWorkers();
    return *inputsKept;
}

void InvitationDialog::OnCancel()
{
    // Closing is the only way out of this dialog, so it closes all the same; the inputs last
    // for this run.
    if (!KeepInputs() && !programEnding)
        AppMessageBox(hwnd, kNotSaved, MB_OK | MB_ICONEXCLAMATION);
    EndDialog(IDCANCEL);
}

// No box on the way out: nobody may be there to answer it.
void InvitationDialog::OnProgramEnd()
{
    programEnding = true;
    KeepInputs();
}
