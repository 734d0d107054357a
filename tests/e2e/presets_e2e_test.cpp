// The preset list and the quick setting, opened from the main window as a user opens them.
#include "automation.h"

#include <gtest/gtest.h>

#include <string>

namespace registry = brewbell_registry;

namespace {

constexpr int kStart = 1007;
constexpr int kTeaList = 1061, kTeaName = 1027, kTeaMin = 1037, kChange = 1048, kSave = 1052;
constexpr int kMinList = 1110, kSecList = 1111, kStartNow = 3;
constexpr WPARAM kEditTeas = 40022, kQuickSet = 40041, kTrayQuickSet = 40045, kFirstPreset = 40000;

class PresetsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registry::Clear();
        ASSERT_TRUE(program.Start());
        window = program.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        if (::IsWindow(window))
            ::PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.HasExited(10000));
        registry::Clear();
    }

    // The program's visible window with this title, once it is there.
    HWND WaitForDialog(const std::string &title, DWORD timeoutMs = 5000) const
    {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND w : program.TopLevelWindows())
                    if (::IsWindowVisible(w) && WindowText(w) == title)
                        found = w;
                return found != nullptr;
            },
            timeoutMs);
        return found;
    }
    std::string Stored(const char *group, const char *name) const
    {
        DWORD value = 0xDEAD;
        registry::ReadDword(group, name, value);
        return std::to_string(value);
    }

    Program program;
    HWND window = nullptr;
};

// GetWindowText does not read the controls of another process; WM_GETTEXT does.
std::string ControlText(HWND control)
{
    char text[300] = "";
    ::SendMessageA(control, WM_GETTEXT, sizeof text, LPARAM(text));
    return text;
}

std::string StoredText(const char *name)
{
    char text[300] = "<none>";
    DWORD size = sizeof text;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Brewbell\\Teas", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(text), &size);
        ::RegCloseKey(key);
    }
    return text;
}

// Choosing a list entry as the user does: the list changes and tells its dialog.
void Choose(HWND dialog, int list, int index)
{
    ::SendMessageA(::GetDlgItem(dialog, list), CB_SETCURSEL, WPARAM(index), 0);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), LPARAM(::GetDlgItem(dialog, list)));
}

TEST_F(PresetsTest, AnEditedPresetIsStoredAndItsMenuCommandSetsTheTime)
{
    ::PostMessageA(window, WM_COMMAND, kEditTeas, 0);
    HWND dialog = WaitForDialog("Teesorten bearbeiten");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(window)) << "modal over the main window";

    // Home selects the first row in the list, "&Ändern" takes it into the edits.
    HWND list = ::GetDlgItem(dialog, kTeaList);
    ::PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    Click(dialog, kChange);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(::GetDlgItem(dialog, kTeaName)) == "Teesorte 0"; }));
    ::SendMessageA(::GetDlgItem(dialog, kTeaName), WM_SETTEXT, 0, LPARAM("Sencha"));
    ::SendMessageA(::GetDlgItem(dialog, kTeaMin), WM_SETTEXT, 0, LPARAM("4"));
    Click(dialog, kSave);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));

    EXPECT_EQ(StoredText("Desc0"), "Sencha");
    EXPECT_EQ(StoredText("Min0"), "04");
    EXPECT_EQ(StoredText("Sec9"), "00") << "all ten slots are stored";

    ::PostMessageA(window, WM_COMMAND, kFirstPreset, 0);
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 04:00")) << WindowText(window);
}

TEST_F(PresetsTest, QuickSettingStartsTheChosenTimeAndCancelKeepsTheOld)
{
    // The context menu of the idle window opens it; cancelling changes nothing.
    ::PostMessageA(window, WM_CONTEXTMENU, WPARAM(window), MAKELPARAM(-1, -1));
    HWND dialog = WaitForDialog("Schnelleinstellung");
    ASSERT_NE(dialog, nullptr);
    Choose(dialog, kMinList, 9);
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
    EXPECT_EQ(WindowText(window), "Brewbell - 00:00");

    ::PostMessageA(window, WM_COMMAND, kQuickSet, 0);
    dialog = WaitForDialog("Schnelleinstellung");
    ASSERT_NE(dialog, nullptr);
    Choose(dialog, kMinList, 5);
    Choose(dialog, kSecList, 30);
    Click(dialog, kStartNow);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(::GetDlgItem(window, kStart)) == "&Stop"; }));
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 05:29", 3000)) << WindowText(window);
    EXPECT_EQ(Stored("Time", "LastMin"), "5");
    EXPECT_EQ(Stored("Time", "LastSec"), "30");

    // While the countdown runs, neither the context menu nor the tray command opens it.
    ::PostMessageA(window, WM_CONTEXTMENU, WPARAM(window), MAKELPARAM(-1, -1));
    ::PostMessageA(window, WM_COMMAND, kTrayQuickSet, 0);
    EXPECT_EQ(WaitForDialog("Schnelleinstellung", 500), nullptr);
    Click(window, kStart);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(::GetDlgItem(window, kStart)) == "&Start"; }));
}

} // namespace
