// The timer's main window (dialog 102): the wiring of its buttons, menus, notification icon,
// workers and alerts. The countdown rules, the menu texts and the alert box live beside it.
#pragma once

#include "app/alert_box.h"
#include "app/countdown_worker.h"
#include "app/layouts.h"
#include "app/main_menu.h"
#include "app/single_instance.h"
#include "app/tray_dialog.h"
#include "core/timer_model.h"
#include "framework/control.h"
#include "framework/dpi.h"
#include "framework/thread.h"
#include "led/digistatic.h"

#include <string>

class MainDialog : public TrayDialog {
public:
    explicit MainDialog(SingleInstance &instance);

    // Ends the program in order: a stopwatch reading dropped, the time saved, the window and
    // whatever is open on top of it (a box, a dialog) ended, then the workers waited for.
    void ExitProgram();
    void ResetTime();
    void StartStop();
    void SelectPreset(int slot);
    // What a closed quick-setting dialog returned, with the time chosen in it. It acts only while
    // the timer is idle: a countdown started under the open dialog keeps its time and runs on.
    void OnQuickSetResult(int result, countdown::Time chosen);
    bool IsCountdownRunning() const { return countdownWorker.IsRunning(); }
    timer::TimerModel &Timer() { return timer; }

    // What the window shows.
    void RefreshTime();
    void RefreshTrayStartItem();
    void BuildPresetMenu();
    // Dresses the window in a layout (automatic draws one of the seasons); on this window's
    // thread only, so the clock thread hands its midnight change over.
    void ApplyLayout(std::int32_t value);

protected:
    bool OnInitDialog() override;
    bool PreTranslateMessage(MSG &msg) override;
    bool ProcessMessage(Message &m) override;
    void DoDataExchange(DataExchange &dx) override;
    bool HidesOnClose() const override;
    // An alert box blocks the icon as a dialog does: the icon's menu would reach the timer past
    // the box's question, and a click would bring the disabled window over the box.
    bool IsBoxOpen() const override { return alertBox.IsOpen(); }

private:
    void ApplyTopMost(UINT extraFlags);
    void StartBranch();
    void StopBranch();
    void ShowRunState();
    void RefreshTimeAndTray();
    void ShowTick(const countdown::Counter &counter, bool carried);
    void MinimizeUnlessChildOpen();
    // An alert's sound and box (0 when another alert box is open), and a finish held meanwhile.
    int ShowAlert(AlertSound sound, const std::string &text, UINT flags);
    void CenterOnScreen();
    void EndNestedModalLoops();

    // Commands
    void OnAddMinute();
    void OnAddSecond();
    void OnReset();
    void OnRestore();
    void OnReadMe();
    std::string ReadMePath() const;
    void OnTeaList();
    void OnQuickSet();
    void OnReminderSettings();
    void OnMessages();
    void OnInvitation();
    bool OnPresetCommand(Message &m);
    bool OnOptionCommand(Message &m);
    bool OnLayoutCommand(Message &m);
    void OnAbout();
    // Messages
    bool OnClose(Message &m);
    bool OnContextMenu(Message &m);
    bool OnQueryEndSession(Message &m);
    bool OnEndSession(Message &m);
    bool IgnoredWhileExiting(const Message &m) const;
    bool OnCountdownFinished(Message &m);
    bool OnReminderDue(Message &m);
    bool OnShowFirstInstance(Message &m);
    bool OnPaint(Message &m);
    bool OnQueryDragIcon(Message &m);
    bool OnSize(Message &m);
    // Display scaling: the window's icons at the sizes its DPI asks for, and a move to a screen of
    // another scaling.
    void ShowWindowIcons();
    bool OnDpiChanged(Message &m);

    SingleInstance &instance;
    Control background;
    CDigistatic hourDisplay;
    CDigistatic timeDisplay;
    SkinButton secondButton;
    SkinButton minuteButton;
    SkinButton resetButton;
    SkinButton startButton;
    WindowLayout windowLayout;

    // The time, the run and their texts; what the window shows is asked of it.
    timer::TimerModel timer;
    // From the start of ExitProgram on: what comes after it (a queued command, a late finish)
    // changes and saves nothing.
    bool exiting = false;
    std::string startDirectory;
    CountdownWorker countdownWorker;
    StoppableWorker clockWorker;
    AlertBox alertBox;
    MainMenu menu;
    HMENU mainMenu = nullptr;
    HICON icon = nullptr;
    DialogScaling scaling;
    // What the window shows (a season when the setting is automatic), drawn again for a new DPI.
    std::int32_t shownLayout = 0;
    // While the window takes the rectangle on a screen of another scaling, it stays there.
    bool changingDpi = false;
};
