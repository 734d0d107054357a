// Quick setting of the countdown time (dialog 173): a slider and a drop-down list for the
// minutes and another pair for the seconds, each list mirroring its slider.
#pragma once

#include "framework/dialog.h"
#include "settings/settings_store.h"

class QuickSetDialog : public Dialog {
public:
    // Results of the modal run besides IDOK ("Übernehmen") and IDCANCEL.
    static constexpr INT_PTR kStartResult = 10; // "&Starten": apply and start the countdown

    // Both accept buttons set settings.min and settings.sec; saving the Time group and starting
    // are the caller's, according to the result, so the store is not used here.
    QuickSetDialog(Settings &settings, SettingsStore &store);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool ProcessMessage(Message &m) override;

private:
    void OnStart();
    bool OnScroll(Message &m);
    bool OnListChanged(Message &m);
    void TakeSliderPositions();

    Settings &settings_;
};
