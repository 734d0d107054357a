// The tea-time schedule (dialog 164): weekdays, and either one time a day or a time every 1 to 6
// hours between two times. Its controls edit a copy; the clock worker goes on with the schedule
// in force until "&Übernehmen" stores the copy and puts it in force. Anything else changes
// nothing.
#pragma once

#include "framework/dialog.h"
#include "settings/settings_store.h"

class ReminderDialog : public Dialog {
public:
    // settings must be the record that store saves.
    ReminderDialog(Settings &settings, SettingsStore &store);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool ProcessMessage(Message &m) override;
    void DoDataExchange(DataExchange &dx) override;

private:
    void UpdateEnabling();
    void ShowWeekdays();
    void ShowAllDays();
    void OnDaily();
    void OnBetween();
    bool OnDayClicked(Message &m);
    void OnAllDays();
    bool OnHoursChanged(Message &m);

    Settings &settings;
    SettingsStore &store;
    TeatimeValues schedule{};
    // Set while the dialog writes its own fields, whose change notifications are not checks.
    bool filling = false;
};
