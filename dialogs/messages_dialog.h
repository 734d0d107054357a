// The texts and sounds of the two alerts (dialog 146). The edits are bound straight to the
// settings, so it ends by storing them (accept) or reloading them (cancel).
#pragma once

#include "framework/dialog.h"
#include "settings/settings_store.h"

#include <string>

class MessagesDialog : public Dialog {
public:
    MessagesDialog(Settings &settings, SettingsStore &store);

protected:
    void OnOK() override;
    void OnCancel() override;
    bool ProcessMessage(Message &m) override;
    void DoDataExchange(DataExchange &dx) override;

private:
    void OnBrowseAlarm();
    void OnBrowseReminder();
    // A chosen file becomes the sound at once, and every edit shows the settings again.
    void Browse(std::string &sound);

    Settings &settings;
    SettingsStore &store;
};
