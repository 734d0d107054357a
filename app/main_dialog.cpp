#include "app/main_dialog.h"

#include "app/alert_sound.h"
#include "app/countdown_thread.h"
#include "app/process_objects.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "res/resource.h"

#include <cstdio>
#include <iterator>

namespace {
// Held for the life of the process, so the name stays taken while the first instance runs.
HANDLE instanceMutex = nullptr;

constexpr DWORD kWorkerStopTimeoutMs = 1000;
const char kStartCaption[] = "&Start";
const char kStopCaption[] = "&Stop";

void StopWorker(WorkerThread &worker)
{
    if (!worker.WaitPumpingSent(kWorkerStopTimeoutMs))
        worker.Terminate();
}

struct OptionItem {
    UINT command;
    std::atomic<std::int32_t> Settings::*field;
};

const OptionItem kOptionItems[] = {
    {ID_OPT_MINIMIZE, &Settings::minimize},   {ID_OPT_TRAY, &Settings::tray},
    {ID_OPT_TOPMOST, &Settings::topMost},     {ID_OPT_MINSTART, &Settings::minStart},
    {ID_OPT_NOCLOSE, &Settings::noClose},     {ID_OPT_SOUND, &Settings::sound},
    {ID_OPT_REMIND, &Settings::remind},       {ID_OPT_SUSPEND, &Settings::suspend},
    {ID_OPT_AUTORESET, &Settings::autoReset},
};

// Menu command of each LayoutKind value.
const UINT kLayoutCommands[] = {ID_LAYOUT_WINTER, ID_LAYOUT_NIGHT, ID_LAYOUT_DAY,
                                ID_LAYOUT_SUMMER, ID_LAYOUT_AUTO,  ID_LAYOUT_PLAIN};

countdown::Time SetTime()
{
    const Settings &settings = TheSettings();
    return {settings.min, settings.sec};
}

void StoreSetTime(countdown::Time time)
{
    TheSettings().min = time.minutes;
    TheSettings().sec = time.seconds;
}
} // namespace

MainDialog::MainDialog() : TrayDialog(IDD_MAIN)
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

bool MainDialog::IsAnotherInstanceRunning()
{
    if (instanceMutex)
        return false; // this process is the instance that holds the name
    instanceMutex = ::CreateMutexA(nullptr, TRUE, "brewbell");
    return ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool MainDialog::OnInitDialog()
{
    TrayDialog::OnInitDialog();
    countdownWorker.reset();
    if (IsAnotherInstanceRunning()) {
        AppMessageBox(hwnd_, "Brewbell wurde bereits gestartet!", MB_OK | MB_ICONSTOP);
        EndDialog(0);
        return true;
    }
    childDialog = nullptr;
    alertGuard = false;

    char directory[MAX_PATH] = "";
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, directory);
    startDirectory.assign(directory, length < MAX_PATH ? length : 0);

    mainMenu = GetMenu();
    // The template's first size change comes before this dialog sees its messages.
    CenterOnScreen();
    // The notification icon's image and tooltip join the tray menu here.
    LoadTrayMenu(IDR_TRAYMENU);
    step = -1;
    BuildPresetMenu();
    SetMenuChecks();
    RefreshTrayStartItem(false);
    ApplyTopMost();
    hideOnMinimize = TheSettings().tray;
    hourDisplay.SetTransparentMode(TRUE);
    if (TheSettings().minimize) {
        Show(SW_MINIMIZE);
        Post(WM_SYSCOMMAND, SC_MINIMIZE);
    }
    // The layout is applied here.
    RefreshTime();
    const std::int32_t layout = TheSettings().layout;
    if (layout >= 0 && layout < static_cast<std::int32_t>(std::size(kLayoutCommands)))
        ::CheckMenuItem(mainMenu, kLayoutCommands[layout], MF_BYCOMMAND | MF_CHECKED);
    // The clock thread starts here.
    return true;
}

void MainDialog::SetMenuChecks()
{
    const Settings &settings = TheSettings();
    for (const OptionItem &item : kOptionItems)
        ::CheckMenuItem(mainMenu, item.command, MF_BYCOMMAND | (settings.*item.field ? MF_CHECKED : MF_UNCHECKED));
    ::EnableMenuItem(mainMenu, ID_OPT_SUSPEND, MF_BYCOMMAND | (settings.remind ? MF_ENABLED : MF_GRAYED));
}

void MainDialog::ApplyTopMost()
{
    ::SetWindowPos(hwnd_, TheSettings().topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool MainDialog::PreTranslateMessage(MSG &msg)
{
    // Escape never closes the timer.
    return msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE;
}

bool MainDialog::OnCommand(WPARAM wParam, LPARAM)
{
    const UINT id = LOWORD(wParam);
    if (id < ID_PRESET_FIRST || id > ID_PRESET_LAST || HIWORD(wParam) > 1)
        return false;
    if (::GetActiveWindow())
        SelectPreset(static_cast<int>(id - ID_PRESET_FIRST));
    return true;
}

bool MainDialog::ProcessMessage(Message &m)
{
    static const MapEntry<MainDialog> messageMap[] = {
        ON_COMMAND(IDC_BUTTON_MIN, &MainDialog::OnAddMinute),
        ON_COMMAND(IDC_BUTTON_SEC, &MainDialog::OnAddSecond),
        ON_COMMAND(IDC_BUTTON_RESET, &MainDialog::ResetTime),
        ON_COMMAND(IDC_BUTTON_START, &MainDialog::StartStop),
        ON_MESSAGE(WM_COUNTDOWN_FINISHED, &MainDialog::OnCountdownFinished),
        ON_MESSAGE(WM_REMINDER_DUE, &MainDialog::OnReminderDue),
        ON_MESSAGE(WM_PAINT, &MainDialog::OnPaint),
        ON_MESSAGE(WM_QUERYDRAGICON, &MainDialog::OnQueryDragIcon),
        ON_MESSAGE(WM_SIZE, &MainDialog::OnSize),
        ON_MESSAGE(WM_CLOSE, &MainDialog::OnClose),
    };
    return DispatchMessageMap(this, messageMap, m) || TrayDialog::ProcessMessage(m);
}

// ---- what the window shows ----

void MainDialog::RefreshTime()
{
    const Settings &settings = TheSettings();
    char timeText[32];
    char hourText[16];
    std::snprintf(timeText, sizeof timeText, "%.2d:%.2d", static_cast<int>(settings.min),
                  static_cast<int>(settings.sec));
    std::snprintf(hourText, sizeof hourText, "%.2d", static_cast<int>(hourCount));
    timeDisplay.SetText(timeText);
    hourDisplay.SetText(hourText);

    char title[64];
    std::snprintf(title, sizeof title, "Brewbell - %s%s%s", hourCount > 0 ? hourText : "", hourCount > 0 ? ":" : "",
                  timeText);
    SetText(title);
    // The notification icon's tooltip follows the title here.
}

void MainDialog::RefreshTrayStartItem(bool running)
{
    HMENU popup = ::GetSubMenu(trayMenu.get(), 0);
    if (!popup)
        return;
    char text[48] = "Stop";
    if (!running)
        std::snprintf(text, sizeof text, "Start     (%.2d:%.2d)", static_cast<int>(TheSettings().min),
                      static_cast<int>(TheSettings().sec));
    ::ModifyMenuA(popup, 4, MF_BYPOSITION | MF_STRING, ID_TRAY_STARTSTOP, text);
    const UINT state = MF_BYCOMMAND | (running ? MF_GRAYED : MF_ENABLED);
    ::EnableMenuItem(popup, ID_TRAY_QUICKSET, state);
    ::EnableMenuItem(popup, ID_TRAY_RESET, state);
}

void MainDialog::SetPresetCommandsEnabled(bool enable)
{
    HMENU teas = ::GetSubMenu(mainMenu, 0);
    const UINT state = MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED);
    for (UINT id = ID_PRESET_FIRST; id <= ID_PRESET_LAST; ++id)
        ::EnableMenuItem(teas, id, state);
    ::EnableMenuItem(teas, ID_QUICKSET, state);
}

void MainDialog::BuildPresetMenu()
{
    HMENU teas = ::GetSubMenu(mainMenu, 0);
    if (!teas)
        return;
    const auto &presets = TheSettings().teas;
    // Rewriting an item also sets its state: the presets stay greyed while a countdown runs.
    const UINT state = IsIdle() ? MF_ENABLED : MF_GRAYED;
    for (UINT slot = 0; slot < presets.size(); ++slot) {
        const TeaPreset &preset = presets[slot];
        // The tab puts the time into the menu's accelerator column.
        const std::string text = preset.name + "\t(" + preset.minutes + ":" + preset.seconds + ")";
        ::ModifyMenuA(teas, slot, MF_BYPOSITION | MF_STRING | state, ID_PRESET_FIRST + slot, text.c_str());
    }
}

// ---- the countdown ----

bool MainDialog::IsIdle() const { return GetItemText(IDC_BUTTON_START) == kStartCaption; }

void MainDialog::OnAddMinute()
{
    TheSettings().min = countdown::AddOne(TheSettings().min);
    RefreshTime();
    RefreshTrayStartItem(false);
}

void MainDialog::OnAddSecond()
{
    TheSettings().sec = countdown::AddOne(TheSettings().sec);
    RefreshTime();
    RefreshTrayStartItem(false);
}

void MainDialog::ResetTime()
{
    Settings &settings = TheSettings();
    StoreSetTime(countdown::ResetTarget(SetTime(), {settings.lastMin, settings.lastSec}));
    hourCount = 0;
    TheSettingsStore().saveTime();
    RefreshTime();
    RefreshTrayStartItem(false);
}

void MainDialog::StartStop()
{
    if (IsIdle())
        StartBranch();
    else
        StopBranch();
}

void MainDialog::SetTimeButtonsEnabled(bool enable)
{
    EnableItem(IDC_BUTTON_MIN, enable);
    EnableItem(IDC_BUTTON_SEC, enable);
    EnableItem(IDC_BUTTON_RESET, enable);
}

void MainDialog::StartBranch()
{
    Settings &settings = TheSettings();
    // The notification icon shows the running image here.
    SetTimeButtonsEnabled(false);
    SetPresetCommandsEnabled(false);
    SetItemText(IDC_BUTTON_START, kStopCaption);
    RefreshTrayStartItem(true);
    hourCount = 0;
    RefreshTime();
    settings.lastMin = settings.min.load();
    settings.lastSec = settings.sec.load();
    TheSettingsStore().saveTime();
    step = countdown::DirectionFor(SetTime());

    // A worker of a run stopped a moment ago has not seen its stop signal yet: let it end first,
    // so that resetting the signal cannot keep it alive beside the new one.
    if (IsCountdownRunning())
        StopWorker(*countdownWorker);
    countdownStop.Reset();
    const int run = ++runNumber;
    CountdownRun countdownRun{
        hwnd_,
        &countdownStop,
        {step, 0, settings.min, settings.sec},
        [this, run](const countdown::Counter &counter, bool carried) { return ApplyTick(run, counter, carried); }};
    countdownWorker = std::make_unique<WorkerThread>();
    if (!countdownWorker->Start([countdownRun] { CountdownThread(countdownRun); }))
        countdownWorker.reset();

    if (settings.minStart)
        MinimizeUnlessChildOpen();
    // The notification icon is pushed to the shell here.
}

void MainDialog::StopBranch()
{
    // The notification icon shows the idle image here.
    countdownStop.Set();
    ++runNumber;
    SetTimeButtonsEnabled(true);
    SetPresetCommandsEnabled(true);
    SetItemText(IDC_BUTTON_START, kStartCaption);
    if (TheSettings().autoReset)
        ResetTime();
    else
        RefreshTrayStartItem(false);
    // The notification icon is pushed to the shell here.
}

bool MainDialog::ApplyTick(int run, const countdown::Counter &counter, bool carried)
{
    if (run != runNumber)
        return false;
    TheSettings().sec = counter.seconds;
    if (carried) {
        TheSettings().min = counter.minutes;
        hourCount = counter.hours;
    }
    RefreshTime();
    return true;
}

void MainDialog::SelectPreset(int slot)
{
    const TeaPreset &preset = TheSettings().teas[static_cast<size_t>(slot)];
    const countdown::Time time{countdown::LeadingNumber(preset.minutes), countdown::LeadingNumber(preset.seconds)};
    StoreSetTime(time);
    step = countdown::DirectionFor(time);
    RefreshTime();
    RefreshTrayStartItem(false);
    TheSettingsStore().saveTime();
}

void MainDialog::OnQuickSetResult(int result)
{
    const countdown::QuickSetAction action = countdown::QuickSetActionFor(result);
    if (action == countdown::QuickSetAction::None)
        return;
    TheSettingsStore().saveTime();
    RefreshTime();
    if (action == countdown::QuickSetAction::ApplyAndStart)
        StartStop();
    else
        RefreshTrayStartItem(false);
}

// ---- alerts ----

void MainDialog::MinimizeUnlessChildOpen()
{
    if (!childDialog)
        Post(WM_SYSCOMMAND, SC_MINIMIZE);
}

bool MainDialog::OnCountdownFinished(Message &)
{
    // A finish posted just before the user pressed Stop arrives when the run is already over.
    if (IsIdle())
        return true;
    StartStop();
    Settings &settings = TheSettings();
    settings.min = settings.lastMin.load();
    settings.sec = settings.lastSec.load();
    RefreshTime();
    RefreshTrayStartItem(false);
    if (alertGuard)
        return true;
    alertGuard = true;
    if (settings.sound)
        PlayAlertSound(AlertSound::Finish, settings);
    Show(SW_RESTORE);
    ::SetForegroundWindow(hwnd_);
    AppMessageBox(hwnd_, settings.message.c_str(), MB_OK | MB_ICONINFORMATION);
    alertGuard = false;
    PlayAlertSound(AlertSound::Stop, settings);
    if (settings.minStart)
        MinimizeUnlessChildOpen();
    return true;
}

bool MainDialog::OnReminderDue(Message &)
{
    if (alertGuard)
        return true;
    alertGuard = true;
    const Settings &settings = TheSettings();
    if (settings.sound)
        PlayAlertSound(AlertSound::Reminder, settings);
    Show(SW_RESTORE);
    ::SetForegroundWindow(hwnd_);
    if (IsCountdownRunning()) {
        AppMessageBox(hwnd_, settings.reminder.c_str(), MB_OK | MB_ICONINFORMATION);
        if (settings.minStart)
            MinimizeUnlessChildOpen();
    } else if (AppMessageBox(hwnd_, settings.reminder.c_str(), MB_YESNO | MB_ICONINFORMATION) == IDYES) {
        StartStop();
    } else if (settings.minimize) {
        MinimizeUnlessChildOpen();
    }
    alertGuard = false;
    PlayAlertSound(AlertSound::Stop, settings);
    return true;
}

// ---- window ----

bool MainDialog::OnPaint(Message &)
{
    if (!IsMinimized())
        return false;
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd_, &paint);
    Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    RECT client;
    ::GetClientRect(hwnd_, &client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, icon);
    ::EndPaint(hwnd_, &paint);
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
    ::GetWindowRect(hwnd_, &window);
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2;
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool MainDialog::OnSize(Message &m)
{
    // Back in the middle of the screen after every restore. A minimised window keeps its place
    // in the task bar.
    if (m.wParam != SIZE_MINIMIZED)
        CenterOnScreen();
    return false;
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

void MainDialog::ExitProgram()
{
    countdownStop.Set();
    clockStop.Set();
    if (IsCountdownRunning())
        StopWorker(*countdownWorker);
    StopWorker(clockWorker);
    if (step == +1)
        ResetTime();
    TheSettingsStore().saveTime();
    PlayAlertSound(AlertSound::Stop, TheSettings());
    EndDialog(0);
}
