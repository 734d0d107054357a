// The dialog base of the main window: it hides the window into the notification area when it
// is minimised or closed, keeps the icon there with its tooltip, turns clicks on the icon into
// calls of its own, shows the tray popup menu, and keeps track of the modal child dialogs that
// are open at the moment (the icon ignores the mouse meanwhile).
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"

#include <shellapi.h>

#include <vector>

class TrayDialog : public Dialog {
public:
    explicit TrayDialog(UINT templateId);

    // Runs a child dialog modally. Dialogs and boxes can open on top of one another; the window
    // stays disabled until the last child dialog on it has ended, whatever closed meanwhile.
    INT_PTR RunChildDialog(Dialog &dialog);
    bool IsChildDialogOpen() const { return !childDialogs.empty(); }
    HMENU TrayMenu() const { return trayMenu.get(); }
    bool IsTrayIconShown() const { return iconShown != 0; }
    const NOTIFYICONDATAA &TrayIconData() const { return iconData; }

    // Tests: whether the shell's notification area exists (its task bar window, by default).
    // Returns the previous question.
    using AreaQuery = bool (*)();
    static AreaQuery SetNotificationAreaQuery(AreaQuery query);

protected:
    // The icon's image and tooltip; the shell hears of them at the next show or update.
    void SetTrayIcon(UINT resourceId);
    void SetTrayTip(const char *text);
    bool LoadTrayMenu(UINT resourceId);
    // Adds the icon to the notification area unless it is there; false when the shell refused.
    bool ShowTrayIcon();
    // Tells the shell of a new image or tooltip, if the icon is shown.
    void UpdateTrayIcon();

    // Clicks on the icon, at the cursor's screen position.
    virtual void OnTrayLButtonDown(POINT point);
    virtual void OnTrayLButtonDblClk(POINT point);
    virtual void OnTrayRButtonDown(POINT point);
    virtual void OnTrayRButtonDblClk(POINT point);
    virtual void OnTrayMouseMove(POINT point);

    bool OnInitDialog() override;
    bool ProcessMessage(Message &m) override;
    // Whether closing the window hides it instead (the application's option).
    virtual bool HidesOnClose() const { return false; }
    // Whether something modal of ours is open on the window; the icon then ignores the mouse.
    bool IsModalOpen() const { return IsChildDialogOpen() || IsBoxOpen(); }
    // Whether a message box of the application's is open on the window.
    virtual bool IsBoxOpen() const { return false; }
    // After a dialog or box of ours has closed: the window is enabled again unless another dialog
    // or box of ours is still open on it.
    void GiveWindowBack();

    int hideOnMinimize = 1;
    int iconShown = 0;
    // The record of the first shell version, whatever the headers' current one.
    NOTIFYICONDATAA iconData{};
    int defaultTrayItem = 0;
    // The child dialogs whose modal runs are under way, the innermost last.
    std::vector<Dialog *> childDialogs;
    UniqueMenu trayMenu;

private:
    bool OnSysCommand(Message &m);
    bool OnTrayCallback(Message &m);
    bool OnEnable(Message &m);
    bool OnDestroy(Message &m);
    bool OnTaskbarCreated(Message &m);
    void HideToTray();
    bool KeepsWindowDisabled() const;

    bool trayRefusalReported = false;
    // A hide found no icon: the window, only minimised, hides once the shell gives the icon.
    bool hideWhenIconShows = false;
    // A box ended under a child dialog that is still open, and the window was kept disabled: it
    // is enabled when that dialog ends.
    bool enableHeldBack = false;
};
