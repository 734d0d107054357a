// Long and foreign texts in every text field of the dialogs, put there as another program does
// (WM_SETTEXT, which no edit limit stops) and as a paste does (EM_REPLACESEL over the selection):
// no field takes more than it may, and what is stored is readable again.
#include "tests/support/dialog_run.h"
#include "dialogs/messages_dialog.h"
#include "dialogs/quick_set_dialog.h"
#include "dialogs/reminder_dialog.h"
#include "dialogs/tea_list_dialog.h"
#include "invite/invitation_dialog.h"
#include "res/resource.h"
#include "test_settings_store.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

enum class Feed { SetText, Paste };

struct Input {
    const char *what;
    std::string text;
    Feed feed;
};

// Windows-1252 letters, the euro sign and the highest byte, after a digit.
std::string LongText(std::size_t length)
{
    const std::string letters = "\xE4\xF6\xFC\xDF\x80\xFF\xC4x";
    std::string text = "7";
    while (text.size() < length)
        text += letters[text.size() % letters.size()];
    return text;
}

const std::string kLong = LongText(10000);
// One digit only, at the start, as the time fields keep digits alone.
const std::string kForeign = "5 Gr\xFCner Tee f\xFCr \x80 \x96 Stra\xDF" "e \xFF\xD6";

const Input kInputs[] = {
    {"10000 characters set", kLong, Feed::SetText},
    {"10000 characters pasted", kLong, Feed::Paste},
    {"letters above 127 set", kForeign, Feed::SetText},
    {"letters above 127 pasted", kForeign, Feed::Paste},
};

// Long texts compare by length, start and checksum, so that a failure stays readable.
std::string Brief(const std::string &text)
{
    std::uint32_t sum = 2166136261u;
    for (unsigned char c : text)
        sum = (sum ^ c) * 16777619u;
    return std::to_string(text.size()) + " characters \"" + text.substr(0, 12) + "...\" #" + std::to_string(sum);
}

void Put(HWND dialog, int id, const Input &input)
{
    HWND field = ::GetDlgItem(dialog, id);
    if (input.feed == Feed::SetText) {
        ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(input.text.c_str()));
        return;
    }
    ::SendMessageA(field, EM_SETSEL, 0, -1);
    ::SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(input.text.c_str()));
}

std::size_t Limit(HWND dialog, int id) { return ::SendDlgItemMessageA(dialog, id, EM_GETLIMITTEXT, 0, 0); }
// A value as the registry holds it, whatever its length; "<missing>" when there is none.
std::string Stored(const char *group, const char *name)
{
    const std::string path = std::string(TestSettingsStore::kPath) + "\\" + group;
    std::vector<char> data(20000, '\0');
    DWORD size = static_cast<DWORD>(data.size() - 1), type = 0;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<missing>";
    const LONG result = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::string(data.data()) : "<missing>";
}

// What a field that keeps at most `limit` characters must have made of the input: all of it up to
// the limit, or, where a paste stops at the field's visible width, a part of its start.
void ExpectKeptStart(const std::string &kept, const Input &input, std::size_t limit, bool pasteStopsAtWidth)
{
    const std::string whole = input.text.substr(0, limit);
    if (input.feed == Feed::Paste && pasteStopsAtWidth) {
        EXPECT_FALSE(kept.empty());
        EXPECT_EQ(Brief(kept), Brief(whole.substr(0, kept.size())));
    } else {
        EXPECT_EQ(Brief(kept), Brief(whole));
    }
}

TEST(TextInput, PresetNameTakesAStorableTextAndTheTimeFieldsOnlyTwoDigits)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    for (const Input &input : kInputs) {
        SCOPED_TRACE(input.what);
        TestSettingsStore t;
        TeaListDialog dialog(t.settings, t.store);
        EXPECT_EQ(RunModal(dialog,
                           [&](HWND d) {
                               LVITEMA state{};
                               state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
                               ::SendDlgItemMessageA(d, IDC_TEA_LIST, LVM_SETITEMSTATE, 3,
                                                     reinterpret_cast<LPARAM>(&state));
                               Click(d, IDC_TEA_CHANGE);
                               ASSERT_EQ(ItemText(d, IDC_TEA_NAME), "Teesorte 3");
                               EXPECT_EQ(Limit(d, IDC_TEA_NAME), kMaxTextLength);
                               for (int id : {IDC_TEA_NAME, IDC_TEA_MIN, IDC_TEA_SEC})
                                   Put(d, id, input);
                               // The first digits of each input: 7 and 5.
                               const std::string digit = input.text == kLong ? "7" : "5";
                               EXPECT_EQ(Brief(ItemText(d, IDC_TEA_MIN)), Brief(digit));
                               EXPECT_EQ(Brief(ItemText(d, IDC_TEA_SEC)), Brief(digit));
                               Click(d, IDC_TEA_CHANGE);
                               Click(d, IDC_TEA_SAVE);
                           }),
                  IDOK);
        ExpectKeptStart(Stored("Teas", "Desc3"), input, kMaxTextLength, true);
        const std::string time = input.text == kLong ? "07" : "05";
        EXPECT_EQ(Brief(Stored("Teas", "Min3")), Brief(time));
        EXPECT_EQ(Brief(Stored("Teas", "Sec3")), Brief(time));
        EXPECT_EQ(Brief(t.settings.teas[3].name), Brief(Stored("Teas", "Desc3"))) << "memory holds what was stored";
    }
}

TEST(TextInput, MessagesAndSoundPathsKeepAtMostWhatTheRegistryGivesBack)
{
    struct Field {
        int id;
        const char *value;
        bool pasteStopsAtWidth; // the two message fields do not scroll sideways
    };
    const Field fields[] = {{IDC_ALARM_MESSAGE, "Message", true},
                            {IDC_ALARM_SOUND, "AlarmSound", false},
                            {IDC_REMIND_MESSAGE, "Reminder", true},
                            {IDC_REMIND_SOUND, "RemindSound", false}};
    for (const Input &input : kInputs) {
        SCOPED_TRACE(input.what);
        TestSettingsStore t;
        MessagesDialog dialog(t.settings, t.store);
        EXPECT_EQ(RunModal(dialog,
                           [&](HWND d) {
                               for (const Field &field : fields) {
                                   EXPECT_EQ(Limit(d, field.id), kMaxTextLength);
                                   Put(d, field.id, input);
                               }
                               Click(d, IDOK);
                           }),
                  IDOK);
        for (const Field &field : fields) {
            SCOPED_TRACE(field.value);
            const std::string stored = Stored("User", field.value);
            ExpectKeptStart(stored, input, kMaxTextLength, field.pasteStopsAtWidth);
            // Read back as the next start will, not replaced by the default.
            EXPECT_EQ(Brief(t.Text("User", field.value)), Brief(stored));
        }
        EXPECT_EQ(Brief(t.settings.message), Brief(Stored("User", "Message")));
        EXPECT_EQ(Brief(t.settings.remindSound), Brief(Stored("User", "RemindSound")));
    }
}

TEST(TextInput, TheHoursFieldGoesBackToTheStoredHoursAndTheQuickListsStayAsTheyAre)
{
    for (const Input &input : kInputs) {
        SCOPED_TRACE(input.what);
        TestSettingsStore t;
        t.settings.interval = 1;
        t.settings.hours = 3;
        ReminderDialog reminder(t.settings, t.store);
        EXPECT_EQ(RunModal(reminder,
                           [&](HWND d) {
                               EXPECT_EQ(Limit(d, IDC_REM_HOURS), 1u);
                               Put(d, IDC_REM_HOURS, input);
                               // 7 is too many hours; the 5 in front of the letters is a number
                               // as the system reads one, and a good one.
                               if (input.text == kLong) {
                                   EXPECT_EQ(ItemText(d, IDC_REM_HOURS), "3");
                               }
                               Click(d, IDC_REM_APPLY);
                           }),
                  IDOK);
        EXPECT_EQ(t.Dword("Teatime", "Hours"), input.text == kLong ? 3u : 5u);

        // The quick setting has drop-down lists only: texts sent to them change nothing.
        t.settings.min = 4;
        t.settings.sec = 45;
        QuickSetDialog quick(t.settings, t.store);
        EXPECT_EQ(RunModal(quick,
                           [&](HWND d) {
                               for (int id : {IDC_QUICK_MIN_LIST, IDC_QUICK_SEC_LIST}) {
                                   Put(d, id, input);
                                   EXPECT_EQ(::SendDlgItemMessageA(d, id, CB_GETCOUNT, 0, 0), 60);
                               }
                               Click(d, IDOK);
                           }),
                  IDOK);
        EXPECT_EQ(quick.Chosen(), (countdown::Time{4, 45}));
    }
}

// No service at all: the dialog opens without a box and without a poller.
SC_HANDLE WINAPI RefuseManager(LPCSTR, LPCSTR, DWORD)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

TEST(TextInput, InvitationMessageAndRecipientKeepTheirLimitsInEveryMode)
{
    const ServiceOpeners saved = serviceOpeners;
    serviceOpeners.openManager = RefuseManager;
    struct Mode {
        int radio;
        std::size_t messageLimit;
    };
    for (const Mode mode : {Mode{IDC_INV_MODE_MEMBER, 250}, Mode{IDC_INV_MODE_OWN, 128}}) {
        for (const Input &input : kInputs) {
            SCOPED_TRACE(std::string(input.what) + " in the mode of " + std::to_string(mode.radio));
            TestSettingsStore t;
            t.settings.saveSettings = 1;
            InvitationDialog dialog(t.settings, t.store);
            EXPECT_EQ(RunModal(dialog,
                               [&](HWND d) {
                                   Click(d, mode.radio);
                                   EXPECT_EQ(Limit(d, IDC_INV_RECIPIENT), kMaxTextLength);
                                   EXPECT_EQ(Limit(d, IDC_INV_MESSAGE), 250u);
                                   Put(d, IDC_INV_RECIPIENT, input);
                                   Put(d, IDC_INV_MESSAGE, input);
                                   if (input.feed == Feed::Paste) {
                                       const std::string message = ItemText(d, IDC_INV_MESSAGE);
                                       EXPECT_EQ(Brief(message), Brief(input.text.substr(0, mode.messageLimit)));
                                       EXPECT_EQ(ItemText(d, IDC_INV_COUNT), std::to_string(message.size()));
                                   }
                                   Click(d, IDCANCEL);
                               }),
                      IDCANCEL);
            ExpectKeptStart(Stored("Netsend", "Recipient"), input, kMaxTextLength, false);
            // A multi-line field does not report a text set from outside, so the mode's limit
            // does not see it; the longer limit still binds what is stored.
            const std::size_t kept = input.feed == Feed::Paste ? mode.messageLimit : 250;
            EXPECT_EQ(Brief(Stored("Netsend", "NSMessage")), Brief(input.text.substr(0, kept)));
            EXPECT_EQ(Brief(t.settings.recipient), Brief(Stored("Netsend", "Recipient")));
        }
    }
    serviceOpeners = saved;
}

} // namespace
