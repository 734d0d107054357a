// The timer's main window (dialog 102).
#pragma once

#include "app/tray_dialog.h"
#include "framework/control.h"
#include "framework/thread.h"

#include <memory>
#include <string>

class MainDialog : public TrayDialog {
public:
    MainDialog();

    // Ends the program in order: workers stopped, a count-up reading dropped, the time saved.
    void ExitProgram();
    void ResetTime();
    bool IsCountdownRunning() const { return countdownWorker && countdownWorker->IsRunning(); }

protected:
    bool OnInitDialog() override;
    bool PreTranslateMessage(MSG &msg) override;
    bool ProcessMessage(Message &m) override;
    void DoDataExchange(DataExchange &dx) override;

private:
    bool IsAnotherInstanceRunning();
    void SetMenuChecks();
    void ApplyTopMost();
    bool OnClose(Message &m);

    Control background;
    Control hourDisplay;
    Control timeDisplay;
    Control secondButton;
    Control minuteButton;
    Control resetButton;
    Control startButton;

    int step = -1;
    std::string startDirectory;
    std::unique_ptr<WorkerThread> countdownWorker;
    WorkerThread clockWorker;
    // True while an alert box is open; alerts that arrive meanwhile are dropped.
    bool alertGuard = false;
    HMENU mainMenu = nullptr;
    HICON icon = nullptr;
};
