#include "dialogs/messages_dialog.h"

#include "framework/data_exchange.h"
#include "framework/late_bound.h"
#include "framework/message_box.h"
#include "res/resource.h"

#include <commdlg.h>

namespace {
// Sounds are WAV files; a typed name of a file that does not exist yet is offered for creation
// rather than refused. The current directory stays where it was: a program started by its bare
// name would be looked for there.
constexpr char kWavFilter[] = "WAV-Audio-Dateien (*.wav)\0*.wav\0";
constexpr DWORD kChooseFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT | OFN_NOCHANGEDIR;
constexpr char kNotSaved[] = "Die Meldungen und Sounds konnten nicht in der Registrierung gespeichert werden.";
} // namespace

MessagesDialog::MessagesDialog(Settings &settingsToEdit, SettingsStore &settingsStore)
    : Dialog(IDD_MESSAGES), settings(settingsToEdit), store(settingsStore)
{
}

bool MessagesDialog::OnInitDialog()
{
    texts = {settings.alarmSound, settings.message, settings.remindSound, settings.reminder};
    return Dialog::OnInitDialog();
}

void MessagesDialog::DoDataExchange(DataExchange &dx)
{
    DDX_Text(dx, IDC_ALARM_MESSAGE, texts.message, kMaxTextLength);
    DDX_Text(dx, IDC_ALARM_SOUND, texts.alarmSound, kMaxTextLength);
    DDX_Text(dx, IDC_REMIND_MESSAGE, texts.reminder, kMaxTextLength);
    DDX_Text(dx, IDC_REMIND_SOUND, texts.remindSound, kMaxTextLength);
}

bool MessagesDialog::ProcessMessage(Message &m)
{
    static const MapEntry<MessagesDialog> map[] = {
        ON_COMMAND(IDC_ALARM_BROWSE, &MessagesDialog::OnBrowseAlarm),
        ON_COMMAND(IDC_REMIND_BROWSE, &MessagesDialog::OnBrowseReminder),
    };
    return DispatchMessageMap(this, map, m) || Dialog::ProcessMessage(m);
}

void MessagesDialog::OnBrowseAlarm() { Browse(IDC_ALARM_SOUND); }

void MessagesDialog::OnBrowseReminder() { Browse(IDC_REMIND_SOUND); }

void MessagesDialog::Browse(int soundField)
{
    // No longer a path than can be stored: the file dialog refuses one that does not fit.
    char path[kMaxTextLength + 1] = "";
    OPENFILENAMEA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = hwnd;
    choice.lpstrFilter = kWavFilter;
    choice.nFilterIndex = 1;
    choice.lpstrFile = path;
    choice.nMaxFile = sizeof path;
    choice.lpstrDefExt = "wav";
    choice.Flags = kChooseFlags;
    const auto getOpenFileName = LATE_BOUND("comdlg32.dll", GetOpenFileNameA);
    if (!getOpenFileName) {
        AppMessageBox(hwnd, "Die Dateiauswahl kann nicht geöffnet werden.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (getOpenFileName(&choice))
        SetItemText(soundField, path);
}

void MessagesDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    if (!store.applyUser(texts)) {
        AppMessageBox(hwnd, kNotSaved, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}
