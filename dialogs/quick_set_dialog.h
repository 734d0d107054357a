// Quick setting of the countdown time (dialog 173): a slider and a drop-down list for the
// minutes and another pair for the seconds, each list mirroring its slider.
#pragma once

#include "core/countdown.h"
#include "framework/dialog.h"
#include "settings/settings_store.h"

class QuickSetDialog : public Dialog {
public:
    // Results of the modal run besides IDOK ("Übernehmen") and IDCANCEL.
    static constexpr INT_PTR kStartResult = 10; // "&Starten": apply and start the countdown

    // Opens at settings.min and settings.sec. The dialog changes no setting: the caller takes the
    // chosen time after an accepting result, and only while the timer is idle (a countdown may
    // have started under the open dialog), then saves and starts as the result says.
    QuickSetDialog(const Settings &settings, SettingsStore &store);

    // The sliders' positions when "Übernehmen" or "&Starten" closed the dialog.
    countdown::Time Chosen() const { return chosen; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool ProcessMessage(Message &m) override;

private:
    void OnStart();
    bool OnScroll(Message &m);
    bool OnListChanged(Message &m);
    void TakeSliderPositions();

    const Settings &settings;
    countdown::Time chosen{0, 0};
};
