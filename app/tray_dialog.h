// The dialog base of the main window: it hides the window into the notification area and keeps
// track of the modal child dialog that is open at the moment.
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"

class TrayDialog : public Dialog {
public:
    explicit TrayDialog(UINT templateId) : Dialog(templateId) {}

    // Runs a child dialog modally; while it runs, childDialog points at it.
    INT_PTR RunChildDialog(Dialog &dialog);
    HMENU TrayMenu() const { return trayMenu.get(); }

protected:
    bool LoadTrayMenu(UINT resourceId);

    int hideOnMinimize = 1;
    Dialog *childDialog = nullptr;
    UniqueMenu trayMenu;
};
