// A C++ object attached to an existing dialog item by subclassing its window procedure.
// The parent dialog reflects the item's own notifications (WM_DRAWITEM, WM_CTLCOLOR*,
// WM_COMMAND, WM_NOTIFY, scroll messages) back to it through OnReflect.
#pragma once

#include "framework/message_map.h"
#include "framework/window.h"

class Control : public Window {
public:
    Control() = default;
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;
    virtual ~Control();

    // Subclasses the window; false when it is null or already attached to some object.
    bool SubclassWindow(HWND window);
    bool SubclassDlgItem(HWND dialog, int id) { return SubclassWindow(::GetDlgItem(dialog, id)); }
    void UnsubclassWindow();

    // The object attached to a window, or null.
    static Control *FromHandle(HWND hwnd);

    // A notification the parent received on this control's behalf; true when handled.
    virtual bool OnReflect(Message &m);

protected:
    // Called once the object is bound, before any message of the window reaches it.
    virtual void PreSubclassWindow();
    // The control's own message map chain.
    virtual bool ProcessMessage(Message &m);
    // Passes the message on to the original window procedure.
    LRESULT Default(const Message &m) const;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CallPrevious(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
