// The invitation dialog (167): sends a short text over the local network with NET SEND, shows
// what the command printed, and starts and stops the messenger service that delivers it.
//
// Its workers (state poller, start, stop, send) never call into the dialog's window: they post
// their updates to the dialog's thread, which applies them in the order they were posted. So a
// worker never waits for the dialog's thread, and closing the dialog (which waits for the
// workers on that thread) cannot deadlock with a worker that is updating it.
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/thread.h"
#include "invite/invitation_rules.h"
#include "invite/messenger_service.h"
#include "settings/settings_store.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

// Where NET is started from: the system folder, by its full path. Started by its bare name it
// would be looked for in the program's own folder and the current directory first, where anyone
// may have put a net.exe. Tests point this at their stand-in.
std::string SystemNetPath();
extern std::string (*netProgramPath)();

class InvitationDialog : public Dialog {
public:
    InvitationDialog(Settings &settings, SettingsStore &store);
    ~InvitationDialog() override;

    // How long closing waits for each worker before it ends the worker by force.
    static constexpr DWORD kWorkerStopTimeoutMs = 300;
    static constexpr DWORD kPollIntervalMs = 200;

    // For tests: whether any worker of the dialog still runs.
    bool AnyWorkerRunning() const;

protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnProgramEnd() override;
    bool PreTranslateMessage(MSG &msg) override;
    bool ProcessMessage(Message &m) override;
    void DoDataExchange(DataExchange &dx) override;

private:
    // Messages the workers post to the dialog's thread.
    enum : UINT {
        kShowStateMessage = WM_APP + 0x200, // wParam: the state
        kSendingMessage,                    // the send has begun
        kSendDoneMessage,                   // lParam: std::string * with the captured text, ours now
        kSystemErrorMessage,                // wParam: caption (0 start, 1 stop), lParam: error code
    };

    // The service half.
    // False after the error box of a failed opening.
    bool InitServiceControl();
    int QueryServiceState() const;
    void ShowServiceState(int state);
    void ShowLamp(invite::Lamp lamp);
    void SetStatusText(const char *text);
    void ShowSystemError(const char *caption, DWORD error);
    void OnStartService();
    void OnStopService();
    DWORD OpenMessengerService() { return service.Open(); }
    void StatePoller();
    void StartServiceWorker() { ServiceActionWorker(true); }
    void StopServiceWorker() { ServiceActionWorker(false); }
    // Asks for the start or stop and waits for its end state; the poller shows the progress.
    void ServiceActionWorker(bool start);
    bool StartAction(std::function<void()> body);
    static bool IsWorkerRunning(const WorkerThread &thread) { return thread.IsRunning(); }
    static void StopWorker(const WorkerThread &thread);
    void StopAllWorkers();
    void PostState(int state) const;
    bool PostToDialog(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void DropPendingResults();

    // The invitation half.
    void OnSend();
    void OnClear();
    void OnBrowseRecipient();
    bool OnRecipientMode(Message &m);
    bool OnMessageChanged(Message &m);
    bool OnCtlColor(Message &m);
    bool OnWorkerMessage(Message &m);
    void SendWorker(const std::string &program, const std::string &commandLine);
    // What closing keeps, also when the program ends under the dialog: the workers end, and the
    // inputs are stored as "Eingaben speichern" says. False when the registry refused them.
    bool KeepInputs();
    void FocusItem(int id) const { ::SetFocus(GetItem(id)); }

    Settings &settings;
    SettingsStore &store;

    std::string message;
    int recipientMode = 0;
    std::string recipient;
    int saveInputs = BST_UNCHECKED;
    int maxChars = 250;
    bool changingMessage = false;

    // The window the workers post to; set once before the first worker starts.
    HWND workerTarget = nullptr;

    MessengerService service;
    std::atomic<bool> serviceAccessible{true};
    WorkerThread pollThread;
    // The newest action worker is the last; older ones that still run are kept so that closing
    // ends them too.
    std::vector<std::unique_ptr<WorkerThread>> actionThreads;

    UniqueBitmap stoppedBitmap;
    UniqueBitmap runningBitmap;
    UniqueBitmap busyBitmap;
    UniqueBrush statusBrush;
};
