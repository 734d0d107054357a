// Modal dialogs from templates, with a message map and data exchange.
//
// The modal loop is our own (CreateDialogParamA plus a GetMessage loop) rather than
// DialogBoxParamA, so that a dialog can see its keyboard messages before the dialog manager does
// (PreTranslateMessage), as the main window needs for Escape.
#pragma once

#include "framework/message_map.h"
#include "framework/window.h"

#include <functional>

class DataExchange;

class Dialog : public Window {
public:
    explicit Dialog(UINT dialogTemplate) : templateId(dialogTemplate) {}
    Dialog(const Dialog &) = delete;
    Dialog &operator=(const Dialog &) = delete;
    virtual ~Dialog();

    // Runs the dialog until EndDialog. A dialog created without an owner is owned by the
    // application's main dialog (if that is not itself).
    INT_PTR DoModal(HWND owner = nullptr);
    void EndDialog(INT_PTR code);
    bool IsEnded() const { return ended; }
    // Whether the last DoModal made its window (-1 alone also means the program is ending).
    bool WasOpened() const { return opened; }

    // Controls to members (save) or members to controls; false when a field was invalid.
    bool UpdateData(bool save);

    static void SetMainDialog(Dialog *dialog) { mainDialog = dialog; }
    static Dialog *MainDialog() { return mainDialog; }

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // The program ends while the dialog is open: the quit message ended its loop, or the session
    // ends (Windows may end the process as soon as that message is answered). A dialog keeps here
    // what closing it keeps, asking nothing; the window still exists. Once per modal run.
    virtual void OnProgramEnd() {}
    // True when the message was consumed and must not reach the dialog manager.
    virtual bool PreTranslateMessage(MSG &msg);
    // The message map chain: a derived class tries its own table, then its base's.
    virtual bool ProcessMessage(Message &m);
    virtual void DoDataExchange(DataExchange &dx);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleMessage(Message &m);
    void RunModalLoop();
    void NotifyProgramEnd();

    static Dialog *mainDialog;
    UINT templateId;
    bool ended = false;
    bool opened = false;
    bool programEnded = false;
    INT_PTR result = -1;
};

// Runs a callable on the thread that owns the window (a Dialog) and waits until it is done.
// Returns false when it did not run: the window is gone or went before its thread got to it.
// Only work queued by the process's own threads ever runs; the window's private message merely
// announces it.
bool RunOnWindowThread(HWND window, const std::function<void()> &work);
