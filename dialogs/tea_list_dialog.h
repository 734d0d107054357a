// The list of the ten tea presets (dialog 154): a row is taken into three edits, changed and
// written back; "&Speichern" stores all ten rows, puts them in force and ends the modal run with
// IDOK (a refused store leaves it open), anything else ends it with IDCANCEL and changes nothing.
// Until then the rows live in a PresetEditor; the list view only shows them.
#pragma once

#include "dialogs/preset_rules.h"
#include "framework/dialog.h"
#include "settings/settings_store.h"

#include <string>

class TeaListDialog : public Dialog {
public:
    // settings must be the record that store saves.
    TeaListDialog(Settings &settings, SettingsStore &store);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool ProcessMessage(Message &m) override;
    void DoDataExchange(DataExchange &dx) override;

private:
    void OnChange();
    void OnDiscard();
    void OnDelete();
    void OnSave();
    bool OnListNotify(Message &m);
    bool OnTimeTyped(Message &m);

    void InsertColumns() const;
    void ShowRow(int index) const;
    int SelectedRow() const;
    TeaPreset ReadEdits();
    void FillEdits(const TeaPreset &texts);
    void TakeSelectedRow();
    void ClearEdits();

    Settings &settings;
    SettingsStore &store;
    presets::PresetEditor editor;
    std::string name;
    std::string minutes;
    std::string seconds;
    // Set while the dialog writes into its own edits, whose change notifications are then not
    // the user's typing.
    bool filling = false;
};
