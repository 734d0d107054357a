#include "dialogs/messages_dialog.h"
#include "tests/support/dialog_run.h"
#include "test_settings_store.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <dlgs.h>

#include <string>

namespace {

void SetItemText(HWND dialog, int id, const char *text) { ::SetDlgItemTextA(dialog, id, text); }

std::string TempPath()
{
    char path[MAX_PATH] = "";
    ::GetTempPathA(sizeof path, path);
    return path;
}

// Answers the file dialog that a "..." button opens on this thread: from a timer that its modal
// loop dispatches, it reads the filter, types a name and confirms, or cancels; and it answers
// the question whether to create a file that does not exist.
struct FileDialogAnswer {
    std::string typed; // empty: cancel
    HWND owner = nullptr;
    std::string filter;
    std::string prompt;
    bool readOnlyBoxShown = false;
    bool answered = false;
};
FileDialogAnswer *answer = nullptr;

struct Found {
    HWND owner;
    HWND fileDialog = nullptr;
    HWND messageBox = nullptr;
};

BOOL CALLBACK FindDialogs(HWND window, LPARAM parameter)
{
    auto &found = *reinterpret_cast<Found *>(parameter);
    char name[32] = "";
    ::GetClassNameA(window, name, sizeof name);
    if (window == found.owner || std::string(name) != "#32770" || !::IsWindowVisible(window))
        return TRUE;
    if (::GetDlgItem(window, 0xFFFF))
        found.messageBox = window;
    else if (::GetDlgItem(window, cmb13) || ::GetDlgItem(window, edt1))
        found.fileDialog = window;
    return TRUE;
}

void CALLBACK AnswerFileDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    Found found{answer->owner};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialogs, reinterpret_cast<LPARAM>(&found));
    if (found.messageBox) {
        answer->prompt = ItemText(found.messageBox, 0xFFFF);
        ::PostMessageA(found.messageBox, WM_COMMAND, IDYES, 0);
        return;
    }
    if (!found.fileDialog || answer->answered)
        return;
    answer->answered = true;
    answer->filter = ItemText(found.fileDialog, cmb1);
    HWND readOnly = ::GetDlgItem(found.fileDialog, chx1);
    answer->readOnlyBoxShown = readOnly && ::IsWindowVisible(readOnly);
    if (answer->typed.empty()) {
        ::PostMessageA(found.fileDialog, WM_COMMAND, IDCANCEL, 0);
        ::KillTimer(nullptr, timer);
        return;
    }
    const int nameItem = ::GetDlgItem(found.fileDialog, cmb13) ? cmb13 : edt1;
    ::SetDlgItemTextA(found.fileDialog, nameItem, answer->typed.c_str());
    ::PostMessageA(found.fileDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(found.fileDialog, IDOK)));
}

// Presses "..." and answers its file dialog; the timer lives until the dialog has gone.
FileDialogAnswer Browse(HWND dialog, int button, const std::string &typed)
{
    FileDialogAnswer result;
    result.typed = typed;
    result.owner = dialog;
    answer = &result;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerFileDialog);
    Click(dialog, button);
    ::KillTimer(nullptr, timer);
    answer = nullptr;
    return result;
}

class MessagesDialogTest : public ::testing::Test {
protected:
    INT_PTR Run(const std::function<void(HWND)> &body)
    {
        MessagesDialog dialog(t.settings, t.store);
        return RunModal(dialog, body);
    }
    TestSettingsStore t;
};

TEST_F(MessagesDialogTest, ShowsTheFourTextsAndAcceptStoresThemTrimmedWithDefaults)
{
    t.settings.message = "Der Grüntee ist fertig";
    t.settings.alarmSound = "C:\\gong.wav";
    t.settings.reminder = "Teepause!";
    t.settings.remindSound = "";
    EXPECT_EQ(Run([&](HWND d) {
                  char title[64] = "";
                  ::GetWindowTextA(d, title, sizeof title);
                  EXPECT_STREQ(title, "Benutzerdefinierte Angaben");
                  EXPECT_EQ(ItemText(d, IDC_ALARM_MESSAGE), "Der Grüntee ist fertig");
                  EXPECT_EQ(ItemText(d, IDC_ALARM_SOUND), "C:\\gong.wav");
                  EXPECT_EQ(ItemText(d, IDC_REMIND_MESSAGE), "Teepause!");
                  EXPECT_EQ(ItemText(d, IDC_REMIND_SOUND), "");

                  SetItemText(d, IDC_ALARM_MESSAGE, "");
                  SetItemText(d, IDC_REMIND_MESSAGE, " \t ");
                  SetItemText(d, IDC_ALARM_SOUND, "  C:\\tee\\glocke.wav  ");
                  SetItemText(d, IDC_REMIND_SOUND, "  ");
                  Click(d, IDOK);
              }),
              IDOK);
    EXPECT_EQ(t.settings.message, "Ihr Tee ist jetzt fertig!");
    EXPECT_EQ(t.settings.reminder, "Wie wäre es mit einer Tasse Tee?");
    EXPECT_EQ(t.settings.alarmSound, "C:\\tee\\glocke.wav");
    EXPECT_EQ(t.settings.remindSound, "");
    EXPECT_EQ(t.Text("User", "Message"), "Ihr Tee ist jetzt fertig!");
    EXPECT_EQ(t.Text("User", "Reminder"), "Wie wäre es mit einer Tasse Tee?");
    EXPECT_EQ(t.Text("User", "AlarmSound"), "C:\\tee\\glocke.wav");
    EXPECT_EQ(t.Text("User", "RemindSound"), "");
}

std::string CurrentDirectory()
{
    char path[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof path, path);
    return path;
}

TEST_F(MessagesDialogTest, AChosenFileShowsInItsFieldOnlyAndIsNotInForceBeforeItIsApplied)
{
    const std::string bell = TempPath() + "brewbell-test-bell.wav";
    HANDLE file = ::CreateFileA(bell.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
    t.settings.alarmSound = "alt.wav";
    t.store.saveUser();
    // A text in force that the registry does not hold: a cancel leaves it so.
    t.settings.reminder = "Nur in diesem Lauf";
    const std::string directory = CurrentDirectory();

    EXPECT_EQ(Run([&](HWND d) {
                  SetItemText(d, IDC_ALARM_MESSAGE, "Getippt");
                  // The default extension completes a name typed without one.
                  const FileDialogAnswer chosen = Browse(d, IDC_ALARM_BROWSE, bell.substr(0, bell.size() - 4));
                  EXPECT_EQ(chosen.filter, "WAV-Audio-Dateien (*.wav)");
                  EXPECT_FALSE(chosen.readOnlyBoxShown);
                  EXPECT_EQ(chosen.prompt, "") << "an existing file is taken without a question";
                  EXPECT_EQ(ItemText(d, IDC_ALARM_SOUND), bell);
                  EXPECT_EQ(ItemText(d, IDC_ALARM_MESSAGE), "Getippt") << "what was typed stays";
                  EXPECT_EQ(t.settings.alarmSound, "alt.wav") << "a finish meanwhile plays the sound in force";
                  EXPECT_EQ(CurrentDirectory(), directory) << "the chooser leaves the current directory";

                  // A cancelled file dialog changes nothing, not even typed text.
                  SetItemText(d, IDC_REMIND_MESSAGE, "Getippt");
                  Browse(d, IDC_REMIND_BROWSE, "");
                  EXPECT_EQ(ItemText(d, IDC_REMIND_MESSAGE), "Getippt");
                  EXPECT_EQ(ItemText(d, IDC_REMIND_SOUND), "");

                  // A file that does not exist yet is offered for creation.
                  const std::string fresh = TempPath() + "brewbell-test-new.wav";
                  ::DeleteFileA(fresh.c_str());
                  const FileDialogAnswer created = Browse(d, IDC_REMIND_BROWSE, fresh);
                  EXPECT_NE(created.prompt, "");
                  EXPECT_EQ(ItemText(d, IDC_REMIND_SOUND), fresh);
                  EXPECT_EQ(t.settings.remindSound, "");
                  Click(d, IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_EQ(t.settings.alarmSound, "alt.wav");
    EXPECT_EQ(t.settings.remindSound, "");
    EXPECT_EQ(t.settings.message, "Ihr Tee ist jetzt fertig!");
    EXPECT_EQ(t.settings.reminder, "Nur in diesem Lauf") << "cancel leaves the running program as it was";
    EXPECT_EQ(t.Text("User", "AlarmSound"), "alt.wav");

    // Typed texts and a chosen sound are stored and put in force together.
    EXPECT_EQ(Run([&](HWND d) {
                  SetItemText(d, IDC_ALARM_MESSAGE, "Der Tee zieht nicht mehr");
                  Browse(d, IDC_ALARM_BROWSE, bell);
                  Click(d, IDOK);
              }),
              IDOK);
    EXPECT_EQ(t.settings.message, "Der Tee zieht nicht mehr");
    EXPECT_EQ(t.settings.alarmSound, bell);
    EXPECT_EQ(t.Text("User", "Message"), "Der Tee zieht nicht mehr");
    EXPECT_EQ(t.Text("User", "AlarmSound"), bell);
    ::DeleteFileA(bell.c_str());
}

} // namespace
