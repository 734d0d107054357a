// The texts and sounds of the two alerts (dialog 146). The fields edit a copy: the running
// program gets it, stored, with "&Übernehmen"; anything else ends the dialog and changes nothing.
#pragma once

#include "framework/dialog.h"
#include "settings/settings_store.h"

#include <string>

class MessagesDialog : public Dialog {
public:
    // settings must be the record that store saves.
    MessagesDialog(Settings &settings, SettingsStore &store);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool ProcessMessage(Message &m) override;
    void DoDataExchange(DataExchange &dx) override;

private:
    void OnBrowseAlarm();
    void OnBrowseReminder();
    // A chosen file shows in the sound's field; the other fields keep what was typed.
    void Browse(int soundField);

    Settings &settings;
    SettingsStore &store;
    UserTexts texts;
};
