#include "app/main_dialog.h"

#include "app/clock_thread.h"
#include "app/process_objects.h"
#include "dialogs/about_dialog.h"
#include "dialogs/messages_dialog.h"
#include "dialogs/quick_set_dialog.h"
#include "dialogs/reminder_dialog.h"
#include "dialogs/tea_list_dialog.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "invite/invitation_dialog.h"
#include "res/resource.h"

#include <cstdio>

namespace {

constexpr DWORD kWorkerStopTimeoutMs = 1000;
const char kOptionNotSaved[] =
    "Die Einstellung konnte nicht in der Registrierung gespeichert werden. Sie gilt nur bis zum Programmende.";

} // namespace

MainDialog::MainDialog(SingleInstance &instance) : TrayDialog(IDD_MAIN), instance(instance), timer(TheSettings())
{
    icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BREWBELL));
}

void MainDialog::DoDataExchange(DataExchange &dx)
{
    DDX_Control(dx, IDC_BACKGROUND, background);
    DDX_Control(dx, IDC_HOUR_DISPLAY, hourDisplay);
    DDX_Control(dx, IDC_TIME_DISPLAY, timeDisplay);
    DDX_Control(dx, IDC_BUTTON_SEC, secondButton);
    DDX_Control(dx, IDC_BUTTON_MIN, minuteButton);
    DDX_Control(dx, IDC_BUTTON_RESET, resetButton);
    DDX_Control(dx, IDC_BUTTON_START, startButton);
}

bool MainDialog::OnInitDialog()
{
    TrayDialog::OnInitDialog();
    if (!instance.Claim()) {
        // This start ends with its box: a close or a session end meanwhile must not save the
        // time it loaded over the one the running timer keeps.
        exiting = true;
        AppMessageBox(hwnd, "Brewbell wurde bereits gestartet!", MB_OK | MB_ICONSTOP);
        // Beyond the box: the user most likely wants the timer that runs.
        SingleInstance::ShowFirstInstance();
        EndDialog(0);
        return true;
    }
    childDialogs.clear();

    char directory[MAX_PATH] = "";
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, directory);
    startDirectory.assign(directory, length < MAX_PATH ? length : 0);

    mainMenu = GetMenu();
    // The template's first size change comes before this dialog sees its messages.
    CenterOnScreen();
    scaling.Attach(hwnd);
    ShowWindowIcons();
    SetTrayIcon(IDI_TRAY_IDLE);
    SetTrayTip("Brewbell");
    LoadTrayMenu(IDR_TRAYMENU);
    menu.Attach(mainMenu, ::GetSubMenu(trayMenu.get(), 0));
    BuildPresetMenu();
    menu.SetOptionChecks(TheSettings());
    RefreshTrayStartItem();
    ApplyTopMost(0);
    hideOnMinimize = TheSettings().tray;
    hourDisplay.SetTransparentMode(TRUE);
    if (TheSettings().minimize) {
        Show(SW_MINIMIZE);
        Post(WM_SYSCOMMAND, SC_MINIMIZE);
    }
    ApplyLayout(TheSettings().layout);
    RefreshTime();
    menu.CheckLayout(TheSettings().layout);
    ClockRun clock{hwnd,
                   &clockWorker.StopEvent(),
                   &TheReminderAnnouncement(),
                   &TheSettings(),
                   [this] { return IsCountdownRunning(); },
                   [this] { ApplyLayout(Automatic); }};
    clockWorker.Start([clock] { ClockThread(clock); }, kWorkerStopTimeoutMs);
    return true;
}

bool MainDialog::HidesOnClose() const { return TheSettings().noClose != 0; }

void MainDialog::ApplyTopMost(UINT extraFlags)
{
    ::SetWindowPos(hwnd, TheSettings().topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | extraFlags);
}

bool MainDialog::PreTranslateMessage(MSG &msg)
{
    // Escape never closes the timer.
    return msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE;
}

bool MainDialog::ProcessMessage(Message &m)
{
    static const MapEntry<MainDialog> messageMap[] = {
        ON_COMMAND(IDC_BUTTON_MIN, &MainDialog::OnAddMinute),
        ON_COMMAND(IDC_BUTTON_SEC, &MainDialog::OnAddSecond),
        ON_COMMAND(IDC_BUTTON_RESET, &MainDialog::OnReset),
        ON_COMMAND(IDC_BUTTON_START, &MainDialog::StartStop),
        ON_COMMAND_RANGE(ID_PRESET_FIRST, ID_PRESET_LAST, &MainDialog::OnPresetCommand),
        ON_COMMAND_RANGE(ID_OPT_MINIMIZE, ID_OPT_MINIMIZE, &MainDialog::OnOptionCommand),
        ON_COMMAND_RANGE(ID_OPT_TRAY, ID_OPT_TRAY, &MainDialog::OnOptionCommand),
        ON_COMMAND_RANGE(ID_OPT_TOPMOST, ID_OPT_TOPMOST, &MainDialog::OnOptionCommand),
        ON_COMMAND_RANGE(ID_OPT_MINSTART, ID_OPT_MINSTART, &MainDialog::OnOptionCommand),
        ON_COMMAND_RANGE(ID_OPT_AUTORESET, ID_OPT_AUTORESET, &MainDialog::OnOptionCommand),
        ON_COMMAND_RANGE(ID_OPT_NOCLOSE, ID_OPT_NOCLOSE, &MainDialog::OnOptionCommand),
        ON_COMMAND_RANGE(ID_OPT_SOUND, ID_OPT_SOUND, &MainDialog::OnOptionCommand),
        ON_COMMAND_RANGE(ID_OPT_REMIND, ID_OPT_REMIND, &MainDialog::OnOptionCommand),
        ON_COMMAND_RANGE(ID_OPT_SUSPEND, ID_OPT_SUSPEND, &MainDialog::OnOptionCommand),
        ON_COMMAND(ID_TEALIST, &MainDialog::OnTeaList),
        ON_COMMAND(ID_QUICKSET, &MainDialog::OnQuickSet),
        ON_COMMAND(ID_TRAY_QUICKSET, &MainDialog::OnQuickSet),
        ON_COMMAND_RANGE(ID_LAYOUT_NIGHT, ID_LAYOUT_PLAIN, &MainDialog::OnLayoutCommand),
        ON_COMMAND(ID_ABOUT, &MainDialog::OnAbout),
        ON_COMMAND(ID_README, &MainDialog::OnReadMe),
        ON_COMMAND(ID_REMINDER, &MainDialog::OnReminderSettings),
        ON_COMMAND(ID_MESSAGES, &MainDialog::OnMessages),
        ON_COMMAND(ID_INVITATION, &MainDialog::OnInvitation),
        ON_COMMAND(ID_TRAY_RESTORE, &MainDialog::OnRestore),
        ON_COMMAND(ID_TRAY_EXIT, &MainDialog::ExitProgram),
        ON_COMMAND(ID_TRAY_STARTSTOP, &MainDialog::StartStop),
        ON_COMMAND(ID_TRAY_RESET, &MainDialog::OnReset),
        ON_MESSAGE(WM_COUNTDOWN_FINISHED, &MainDialog::OnCountdownFinished),
        ON_MESSAGE(WM_REMINDER_DUE, &MainDialog::OnReminderDue),
        ON_MESSAGE(SingleInstance::ShowWindowMessage(), &MainDialog::OnShowFirstInstance),
        ON_MESSAGE(WM_PAINT, &MainDialog::OnPaint),
        ON_MESSAGE(WM_QUERYDRAGICON, &MainDialog::OnQueryDragIcon),
        ON_MESSAGE(WM_SIZE, &MainDialog::OnSize),
        ON_MESSAGE(kDpiChangedMessage, &MainDialog::OnDpiChanged),
        ON_MESSAGE(WM_CLOSE, &MainDialog::OnClose),
        ON_MESSAGE(WM_QUERYENDSESSION, &MainDialog::OnQueryEndSession),
        ON_MESSAGE(WM_ENDSESSION, &MainDialog::OnEndSession),
        ON_MESSAGE(WM_CONTEXTMENU, &MainDialog::OnContextMenu),
    };
    if (IgnoredWhileExiting(m))
        return true;
    return DispatchMessageMap(this, messageMap, m) || TrayDialog::ProcessMessage(m);
}

bool MainDialog::IgnoredWhileExiting(const Message &m) const
{
    if (!exiting)
        return false;
    switch (m.id) {
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_CLOSE:
    case WM_CONTEXTMENU:
    case WM_TRAY_CALLBACK:
    case WM_COUNTDOWN_FINISHED:
    case WM_REMINDER_DUE:
    case WM_ENDSESSION:
        return true;
    default:
        return m.id == SingleInstance::ShowWindowMessage();
    }
}

// ---- what the window shows ----

void MainDialog::ApplyLayout(std::int32_t value)
{
    shownLayout = windowLayout.ApplyLayout({hwnd,
                                            background.GetSafeHwnd(),
                                            &timeDisplay,
                                            &hourDisplay,
                                            {&resetButton, &secondButton, &minuteButton, &startButton}},
                                           value);
}

bool MainDialog::OnLayoutCommand(Message &m)
{
    const std::int32_t value = layout::LayoutForCommand(m.CommandId());
    if (value < 0)
        return false;
    menu.CheckLayout(value);
    TheSettings().layout = value;
    if (!TheSettingsStore().saveOptions())
        AppMessageBox(hwnd, kOptionNotSaved, MB_OK | MB_ICONEXCLAMATION);
    ApplyLayout(value);
    return true;
}

void MainDialog::OnAbout()
{
    AboutDialog about;
    RunChildDialog(about);
}

void MainDialog::RefreshTime()
{
    const timer::Text time = timer.TimeText();
    const timer::Text title = timer.Title();
    timeDisplay.SetText(time.data());
    hourDisplay.SetText(timer.HourText().data());
    SetText(title.data());
    SetTrayTip(title.data());
    UpdateTrayIcon();
}

void MainDialog::RefreshTrayStartItem() { menu.ShowTrayStartItem(timer.TrayStartText().data(), timer.IsIdle()); }

void MainDialog::BuildPresetMenu() { menu.BuildPresetMenu(TheSettings(), timer.IsIdle()); }

// ---- the countdown ----

// The buttons that set the time are disabled while a countdown runs; a command that comes all
// the same changes nothing (the model refuses it).
void MainDialog::OnAddMinute()
{
    if (timer.AddMinute())
        RefreshTimeAndTray();
}

void MainDialog::OnAddSecond()
{
    if (timer.AddSecond())
        RefreshTimeAndTray();
}

void MainDialog::OnReset() { ResetTime(); }

void MainDialog::ResetTime()
{
    if (!timer.Reset())
        return;
    TheSettingsStore().saveTime();
    RefreshTimeAndTray();
}

void MainDialog::RefreshTimeAndTray()
{
    RefreshTime();
    RefreshTrayStartItem();
}

void MainDialog::StartStop()
{
    if (timer.IsIdle())
        StartBranch();
    else
        StopBranch();
}

// The views of the timer's state: the time buttons, the preset commands and the Start caption.
void MainDialog::ShowRunState()
{
    const bool idle = timer.IsIdle();
    EnableItem(IDC_BUTTON_MIN, idle);
    EnableItem(IDC_BUTTON_SEC, idle);
    EnableItem(IDC_BUTTON_RESET, idle);
    menu.SetPresetCommandsEnabled(idle);
    SetItemText(IDC_BUTTON_START, timer.StartCaption());
    SetTrayIcon(idle ? IDI_TRAY_IDLE : IDI_BREWBELL);
}

void MainDialog::StartBranch()
{
    const countdown::Counter counter = timer.Start();
    ShowRunState();
    RefreshTimeAndTray(); // also hands the running icon to the shell
    TheSettingsStore().saveTime();
    countdownWorker.Start(hwnd, counter,
                          [this](const countdown::Counter &tick, bool carried) { ShowTick(tick, carried); });
    if (TheSettings().minStart)
        MinimizeUnlessChildOpen();
}

void MainDialog::StopBranch()
{
    const bool autoReset = timer.Stop();
    countdownWorker.Stop();
    ShowRunState();
    if (autoReset) {
        // The last start's time, always: Reset's second step, to 00:00, is the Reset button's
        // alone, and a Stop before the first second must not clear the time set.
        timer.ShowLastStart();
        TheSettingsStore().saveTime();
        RefreshTimeAndTray(); // refreshes the icon too
    } else {
        RefreshTrayStartItem();
        UpdateTrayIcon();
    }
}

void MainDialog::ShowTick(const countdown::Counter &counter, bool carried)
{
    timer.Tick(counter, carried);
    RefreshTime();
}

bool MainDialog::OnPresetCommand(Message &m)
{
    // Only while the program owns the active window: a command that arrives otherwise is
    // stale. The items are greyed while a countdown runs.
    if (::GetActiveWindow())
        SelectPreset(static_cast<int>(m.CommandId() - ID_PRESET_FIRST));
    return true;
}

void MainDialog::SelectPreset(int slot)
{
    if (slot < 0 || !timer.SelectPreset(static_cast<std::size_t>(slot)))
        return;
    // Stored before it shows, as Reset does: what the window shows is what a restart brings back.
    TheSettingsStore().saveTime();
    RefreshTimeAndTray();
}

void MainDialog::OnTeaList()
{
    TeaListDialog dialog(TheSettings(), TheSettingsStore());
    if (RunChildDialog(dialog) == IDOK)
        BuildPresetMenu();
}

void MainDialog::OnQuickSet()
{
    // Its menu items are greyed while a countdown runs; a late command changes nothing.
    if (!timer.IsIdle())
        return;
    QuickSetDialog dialog(TheSettings(), TheSettingsStore());
    const INT_PTR answer = RunChildDialog(dialog);
    OnQuickSetResult(static_cast<int>(answer), dialog.Chosen());
}

void MainDialog::OnQuickSetResult(int answer, countdown::Time chosen)
{
    // The reminder's "Ja" may have started a countdown while the dialog was open.
    const countdown::QuickSetAction action = timer.QuickSet(answer, chosen);
    if (action == countdown::QuickSetAction::None)
        return;
    TheSettingsStore().saveTime();
    RefreshTime();
    if (action == countdown::QuickSetAction::ApplyAndStart)
        StartBranch();
    else
        RefreshTrayStartItem();
}

// ---- options and commands ----

bool MainDialog::OnOptionCommand(Message &m)
{
    std::atomic<std::int32_t> *option = timer::ToggleOption(m.CommandId(), TheSettings());
    if (!option)
        return false;
    menu.SetOptionChecks(TheSettings());
    if (!TheSettingsStore().saveOptions())
        AppMessageBox(hwnd, kOptionNotSaved, MB_OK | MB_ICONEXCLAMATION);
    switch (m.CommandId()) {
    case ID_OPT_TRAY:
        hideOnMinimize = *option;
        break;
    case ID_OPT_TOPMOST:
        ApplyTopMost(SWP_SHOWWINDOW);
        break;
    default:
        break;
    }
    return true;
}

void MainDialog::OnRestore() { Show(SW_RESTORE); }

void MainDialog::OnReminderSettings()
{
    ReminderDialog dialog(TheSettings(), TheSettingsStore());
    RunChildDialog(dialog);
}

void MainDialog::OnMessages()
{
    MessagesDialog dialog(TheSettings(), TheSettingsStore());
    RunChildDialog(dialog);
}

void MainDialog::OnInvitation()
{
    InvitationDialog dialog(TheSettings(), TheSettingsStore());
    RunChildDialog(dialog);
}

void MainDialog::OnReadMe()
{
    // The editor by its full path in the system folder: a bare name is looked for in the
    // program's folder and the current directory first, where anyone may have put a program of
    // that name.
    char systemFolder[MAX_PATH] = "";
    const UINT length = ::GetSystemDirectoryA(systemFolder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        const std::string editor = std::string(systemFolder, length) + "\\notepad.exe";
        // Quoted, so that a folder with blanks still names one file.
        std::string commandLine = "notepad.exe \"" + ReadMePath() + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (::CreateProcessA(editor.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process)) {
            // Not waited for: the editor lives on its own.
            const UniqueKernelHandle editorThread(process.hThread), editorProcess(process.hProcess);
        }
    }
    Show(SW_MINIMIZE);
}

std::string MainDialog::ReadMePath() const
{
    // The one that ships beside the program: an autostart entry or a shortcut without a start
    // folder starts the program in the system folder, where none lies.
    char program[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::string beside(program, length);
        beside.erase(beside.find_last_of('\\') + 1);
        beside += "README.txt";
        if (::GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES)
            return beside;
    }
    return startDirectory + "\\README.txt";
}

bool MainDialog::OnShowFirstInstance(Message &)
{
    if (instance.IsOwner()) {
        Show(SW_RESTORE);
        // A dialog or box open on the window is what the user can work with; the window itself
        // is disabled under it.
        ::SetForegroundWindow(::GetLastActivePopup(hwnd));
    }
    return true;
}

// ---- alerts ----

void MainDialog::MinimizeUnlessChildOpen()
{
    if (!IsChildDialogOpen())
        Post(WM_SYSCOMMAND, SC_MINIMIZE);
}

bool MainDialog::OnCountdownFinished(Message &)
{
    // Only our worker's finish counts, not the same number from another program; and a finish
    // posted just before the user pressed Stop arrives when the run is already over.
    if (!TheFinishAnnouncement().Take() || !timer.IsFinishCurrent())
        return true;
    StopBranch();
    timer.ShowLastStart();
    RefreshTimeAndTray();
    // The one signal the timer exists for is never dropped: under the reminder's box it waits.
    if (alertBox.IsOpen()) {
        alertBox.HoldFinish();
        return true;
    }
    const Settings &settings = TheSettings();
    if (ShowAlert(AlertSound::Finish, settings.message, MB_OK | MB_ICONINFORMATION) && settings.minStart && !exiting)
        MinimizeUnlessChildOpen();
    return true;
}

int MainDialog::ShowAlert(AlertSound sound, const std::string &text, UINT flags)
{
    const Settings &settings = TheSettings();
    const int answer = alertBox.Show(*this, sound, settings, text, flags);
    if (!answer)
        return 0;
    GiveWindowBack();
    // A finish that came while the box was open follows it at once, before what the answer asks
    // for; where the window goes after both is the first box's to say. Once the program ends,
    // nothing more is shown.
    if (alertBox.TakeHeldFinish() && !exiting)
        ShowAlert(AlertSound::Finish, settings.message, MB_OK | MB_ICONINFORMATION);
    return answer;
}

bool MainDialog::OnReminderDue(Message &)
{
    if (!TheReminderAnnouncement().Take())
        return true; // not from our clock worker

    const Settings &settings = TheSettings();
    if (timer::ReminderBoxFor(IsCountdownRunning()) == timer::ReminderBox::Notice) {
        if (ShowAlert(AlertSound::Reminder, settings.reminder, MB_OK | MB_ICONINFORMATION) && settings.minStart &&
            !exiting)
            MinimizeUnlessChildOpen();
        return true;
    }
    const int answer = ShowAlert(AlertSound::Reminder, settings.reminder, MB_YESNO | MB_ICONINFORMATION);
    // The program was ended while the box was open: whatever the box returned, nothing starts.
    if (exiting)
        return true;
    switch (timer.AfterReminder(answer)) {
    case timer::ReminderStep::Start:
        StartBranch();
        break;
    case timer::ReminderStep::Minimize:
        MinimizeUnlessChildOpen();
        break;
    case timer::ReminderStep::Nothing:
        break;
    }
    return true;
}

// ---- window ----

bool MainDialog::OnPaint(Message &)
{
    if (!IsMinimized())
        return false;
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd, &paint);
    Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    RECT client;
    ::GetClientRect(hwnd, &client);
    const int size = SystemMetricForDpi(SM_CXICON, WindowDpi(hwnd));
    const int x = (client.right - size + 1) / 2;
    const int y = (client.bottom - size + 1) / 2;
    ::DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
    ::EndPaint(hwnd, &paint);
    return true;
}

bool MainDialog::OnQueryDragIcon(Message &m)
{
    m.result = reinterpret_cast<LRESULT>(icon);
    return true;
}

void MainDialog::CenterOnScreen()
{
    RECT window;
    ::GetWindowRect(hwnd, &window);
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2;
    ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool MainDialog::OnSize(Message &m)
{
    // Back in the middle of the screen after every restore. A minimised window keeps its place
    // in the task bar.
    if (m.wParam != SIZE_MINIMIZED && !changingDpi)
        CenterOnScreen();
    return false;
}

void MainDialog::ShowWindowIcons()
{
    // Shared icons of the module: nothing to destroy when they are replaced.
    const UINT dpi = WindowDpi(hwnd);
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconForDpi(IDI_BREWBELL, SM_CXSMICON, dpi)));
    if (HICON big = LoadIconForDpi(IDI_BREWBELL, SM_CXICON, dpi))
        icon = big;
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

bool MainDialog::OnDpiChanged(Message &m)
{
    scaling.Rescale(LOWORD(m.wParam));
    if (const auto *suggested = reinterpret_cast<const RECT *>(m.lParam)) {
        changingDpi = true;
        ::SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        changingDpi = false;
    }
    ShowWindowIcons();
    // The picture fitted to the background's new size, the faces to the buttons'; all redrawn.
    ApplyLayout(shownLayout);
    return true;
}

bool MainDialog::OnClose(Message &)
{
    if (TheSettings().noClose) {
        Show(SW_MINIMIZE);
        Post(WM_SYSCOMMAND, SC_MINIMIZE);
    } else {
        ExitProgram();
    }
    return true;
}

bool MainDialog::OnQueryEndSession(Message &m)
{
    // Nothing to ask the user: the time left is saved when the session really ends.
    m.result = TRUE;
    return true;
}

bool MainDialog::OnEndSession(Message &m)
{
    // Windows may end the process as soon as this message is answered: the time left is saved
    // before that, as an exit does.
    if (m.wParam)
        ExitProgram();
    return true;
}

bool MainDialog::OnContextMenu(Message &)
{
    if (!IsCountdownRunning())
        OnQuickSet();
    return true;
}

void MainDialog::ExitProgram()
{
    // The waits for the workers answer sent messages, and a session end can come meanwhile: it
    // finds the exit under way, and Windows may end the process as soon as it is answered. So
    // everything is saved and ended before the first wait.
    if (exiting)
        return;
    exiting = true;
    // From here on a tick handed over changes nothing.
    countdownWorker.Stop();
    clockWorker.RequestStop();
    timer.Stop(); // the run is over, whatever the auto reset would do after a Stop
    // The model alone: the window that would show it goes, and its refresh could answer messages.
    if (timer.HoldsStopwatchReading())
        timer.Reset();
    TheSettingsStore().saveTime();
    PlayAlertSound(AlertSound::Stop, TheSettings());
    EndDialog(0);
    EndNestedModalLoops();
    countdownWorker.StopAndWait(kWorkerStopTimeoutMs);
    clockWorker.Stop(kWorkerStopTimeoutMs);
}

void MainDialog::EndNestedModalLoops()
{
    // A menu of this window that is open ends first.
    ::EndMenu();
    // An alert box or a child dialog (with a box or the system's file chooser of its own on top)
    // each runs a modal loop inside this window's. The quit message ends every such loop, each
    // passing it on to the one below, so the program ends now and not when the user closes them.
    // An open dialog is abandoned: what it has not saved is dropped, as with Cancel.
    if (alertBox.IsOpen() || IsChildDialogOpen())
        ::PostQuitMessage(0);
}
