// The timer's main window (dialog 102).
#pragma once

#include "app/countdown.h"
#include "app/tray_dialog.h"
#include "framework/control.h"
#include "framework/thread.h"
#include "led/digistatic.h"

#include <memory>
#include <string>

class MainDialog : public TrayDialog {
public:
    MainDialog();

    // Ends the program in order: workers stopped, a count-up reading dropped, the time saved.
    void ExitProgram();
    void ResetTime();
    void StartStop();
    void SelectPreset(int slot);
    // What a closed quick-setting dialog returned.
    void OnQuickSetResult(int result);
    bool IsCountdownRunning() const { return countdownWorker && countdownWorker->IsRunning(); }

    // What the window shows.
    void RefreshTime();
    void RefreshTrayStartItem(bool running);
    void SetPresetCommandsEnabled(bool enable);
    void BuildPresetMenu();

protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG &msg) override;
    bool ProcessMessage(Message &m) override;
    void DoDataExchange(DataExchange &dx) override;

private:
    bool IsAnotherInstanceRunning();
    bool IsIdle() const;
    void SetMenuChecks();
    void ApplyTopMost();
    void StartBranch();
    void StopBranch();
    void SetTimeButtonsEnabled(bool enable);
    bool ApplyTick(int run, const countdown::Counter &counter, bool carried);
    void MinimizeUnlessChildOpen();
    void CenterOnScreen();

    void OnAddMinute();
    void OnAddSecond();
    bool OnClose(Message &m);
    bool OnCountdownFinished(Message &m);
    bool OnReminderDue(Message &m);
    bool OnPaint(Message &m);
    bool OnQueryDragIcon(Message &m);
    bool OnSize(Message &m);

    Control background;
    CDigistatic hourDisplay;
    CDigistatic timeDisplay;
    Control secondButton;
    Control minuteButton;
    Control resetButton;
    Control startButton;

    int step = -1;
    std::string startDirectory;
    std::unique_ptr<WorkerThread> countdownWorker;
    WorkerThread clockWorker;
    // Counts Starts and Stops, so that a tick handed over by a run that has since been stopped
    // changes nothing.
    int runNumber = 0;
    // True while an alert box is open; alerts that arrive meanwhile are dropped.
    bool alertGuard = false;
    HMENU mainMenu = nullptr;
    HICON icon = nullptr;
};
