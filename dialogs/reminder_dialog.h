// The tea-time schedule (dialog 164): weekdays, and either one time a day or a time every 1 to 6
// hours between two times. Its controls are bound straight to the settings that the clock
// worker reads, so it ends by storing them (accept) or reloading them (cancel).
#pragma once

#include "framework/dialog.h"
#include "settings/settings_store.h"

class ReminderDialog : public Dialog {
public:
    ReminderDialog(Settings &settings, SettingsStore &store);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
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
    // Set while the dialog writes its own fields, whose change notifications are not checks.
    bool filling = false;
};
