#include "app/main_dialog.h"

#include "app/process_objects.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "res/resource.h"

#include <mmsystem.h>

namespace {
// Held for the life of the process, so the name stays taken while the first instance runs.
HANDLE instanceMutex = nullptr;

constexpr DWORD kWorkerStopTimeoutMs = 1000;

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
    {ID_OPT_MINIMIZE, &Settings::minimize}, {ID_OPT_TRAY, &Settings::tray},
    {ID_OPT_TOPMOST, &Settings::topMost},   {ID_OPT_MINSTART, &Settings::minStart},
    {ID_OPT_NOCLOSE, &Settings::noClose},   {ID_OPT_SOUND, &Settings::sound},
    {ID_OPT_REMIND, &Settings::remind},     {ID_OPT_SUSPEND, &Settings::suspend},
    {ID_OPT_AUTORESET, &Settings::autoReset},
};

// Menu command of each LayoutKind value.
const UINT kLayoutCommands[] = {ID_LAYOUT_WINTER, ID_LAYOUT_NIGHT,  ID_LAYOUT_DAY,
                                ID_LAYOUT_SUMMER, ID_LAYOUT_AUTO, ID_LAYOUT_PLAIN};
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
    // The notification icon's data and menu are prepared here.
    step = -1;
    // The preset menu is built here.
    SetMenuChecks();
    // The tray menu's Start item is set for the idle state here.
    ApplyTopMost();
    hideOnMinimize = TheSettings().tray;
    // The hour display switches to transparent mode here.
    if (TheSettings().minimize) {
        Show(SW_MINIMIZE);
        Post(WM_SYSCOMMAND, SC_MINIMIZE);
    }
    // The layout is applied and the time shown here.
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
    ::SetWindowPos(hwnd_, TheSettings().topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE);
}

bool MainDialog::PreTranslateMessage(MSG &msg)
{
    // Escape never closes the timer.
    return msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE;
}

bool MainDialog::ProcessMessage(Message &m)
{
    static const MapEntry<MainDialog> messageMap[] = {
        ON_MESSAGE(WM_CLOSE, &MainDialog::OnClose),
    };
    return DispatchMessageMap(this, messageMap, m) || TrayDialog::ProcessMessage(m);
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

void MainDialog::ResetTime()
{
    Settings &settings = TheSettings();
    if (settings.min == settings.lastMin && settings.sec == settings.lastSec) {
        settings.min = 0;
        settings.sec = 0;
    } else {
        settings.min = settings.lastMin.load();
        settings.sec = settings.lastSec.load();
    }
    hourCount = 0;
    TheSettingsStore().saveTime();
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
    ::PlaySoundA(nullptr, nullptr, 0);
    EndDialog(0);
}
