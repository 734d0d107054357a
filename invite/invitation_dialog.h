// The invitation dialog (167): sends a short text over the local network with NET SEND, shows
// what the command printed, and starts and stops the messenger service that delivers it.
//
// Its workers (state poller, start, stop, send) each have a stop signal of their own and never
// call into the dialog's window: they write their results into a record under a lock and post a
// plain notification, on which the dialog's thread shows what is new. So a worker never waits
// for the dialog's thread, and closing the dialog (which waits for the workers on that thread)
// cannot deadlock with a worker that is updating it.
//
// Closing, the program's exit and the session's end all keep the inputs and stop the workers,
// and one of them can arrive while another waits for the workers (the wait answers sent
// messages): the inputs are stored before the first wait, and the workers are stopped once.
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/thread.h"
#include "invite/console_redirector.h"
#include "invite/invitation_results.h"
#include "invite/invitation_rules.h"
#include "invite/messenger_service.h"
#include "settings/settings_store.h"

#include <atomic>
#include <memory>
#include <optional>
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

    // How long closing waits for the workers (all asked at once) before it ends those still
    // running by force.
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
    // What one send works on: the command, the redirector with its reader, and the captured
    // answer. The dialog owns it, so that it outlives both the send worker and the reader, also
    // when the worker has to be ended by force.
    struct SendJob : CapturingRedirector {
        // The reader writes into output: it ends before output goes.
        ~SendJob() override { Stop(); }
        std::string program;
        std::string commandLine;
        char output[256]; // NET's first answer, cut to fit
    };
    // An action worker, with its send when it is one.
    struct ActionWorker {
        StoppableWorker worker;
        std::unique_ptr<SendJob> send;
    };

    // What a worker posts to the dialog's thread when it has reported to `results`.
    static constexpr UINT kWorkerNewsMessage = WM_APP + 0x200;

    // The service half.
    // False after the error box of a failed opening.
    bool InitServiceControl();
    int QueryServiceState() const;
    void ShowServiceState(int state);
    // The three lamp pictures for the dialog's DPI.
    void LoadLamps();
    void ShowLamp(invite::Lamp lamp);
    void SetStatusText(const char *text);
    void ShowSystemError(const char *caption, DWORD error);
    void OnStartService();
    void OnStopService();
    DWORD OpenMessengerService() { return service.Open(); }
    // The workers' bodies; each watches the stop signal of its own worker.
    void StatePoller(const Event &stop);
    void StartServiceWorker(const Event &stop) { ServiceActionWorker(true, stop); }
    void StopServiceWorker(const Event &stop) { ServiceActionWorker(false, stop); }
    // Asks for the start or stop and waits for its end state; the poller shows the progress.
    void ServiceActionWorker(bool start, const Event &stop);
    bool StartAction(std::function<void(const Event &stop)> body, std::unique_ptr<SendJob> send = nullptr);
    static bool IsWorkerRunning(const StoppableWorker &worker) { return worker.IsRunning(); }
    // False when the worker had to be ended by force.
    static bool StopWorker(StoppableWorker &worker, DWORD timeoutMs);
    void StopAllWorkers();
    // The workers stopped and the service closed, once for all the ends.
    void EndWorkers();
    void PostState(int state);
    void NotifyDialog() const;

    // The invitation half.
    void OnSend();
    void OnClear();
    void OnBrowseRecipient();
    bool OnRecipientMode(Message &m);
    bool OnMessageChanged(Message &m);
    bool OnCtlColor(Message &m);
    bool OnWorkerNews(Message &m);
    void SendWorker(SendJob &job, const Event &stop);
    // What closing keeps, also when the program ends under the dialog: the inputs are stored as
    // "Eingaben speichern" says, and the workers end. False when the registry refused inputs the
    // user asked to keep.
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
    // Declared before the workers, so that it outlives them.
    InvitationResults results;
    StoppableWorker pollThread;
    // The newest action worker is the last; older ones that still run are kept so that closing
    // ends them too.
    std::vector<std::unique_ptr<ActionWorker>> actionThreads;
    // Set once the workers are being stopped for closing: what they reported after that is not
    // shown, the record is not touched again (a worker ended by force may have left it locked),
    // and no worker starts.
    bool workersStopped = false;
    // Whether what the user asked to keep was stored, once this run's inputs are.
    std::optional<bool> inputsKept;
    // The program ends under the dialog: no box any more, nobody may be there to answer it.
    bool programEnding = false;

    UniqueBitmap stoppedBitmap;
    UniqueBitmap runningBitmap;
    UniqueBitmap busyBitmap;
    UniqueBrush statusBrush;
};
