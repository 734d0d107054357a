// The presets and the quick setting as a user walks through them: edit a preset in the list
// dialog, find it in the menu after a restart, set a time with the sliders and start it.
#include "tests/support/running_program.h"

#include <commctrl.h>
#include <gtest/gtest.h>


namespace registry = brewbell_registry;

namespace {

void Key(HWND window, WPARAM key) { ::PostMessageA(window, WM_KEYDOWN, key, 0); }

using PresetsTest = RunningProgramTest;

TEST_F(PresetsTest, APresetEditedInTheListIsStoredAndSetsItsTimeAfterARestart)
{
    StartProgram();
    PostCommand(window, ID_TEALIST);
    HWND list = program->WaitForWindowTitled("Teesorten bearbeiten");
    ASSERT_NE(list, nullptr);
    // Row 3 with the keyboard, taken into the edits with "Ändern", changed, applied, saved.
    HWND rows = ::GetDlgItem(list, IDC_TEA_LIST);
    Key(rows, VK_HOME);
    for (int i = 0; i < 3; ++i)
        Key(rows, VK_DOWN);
    PostCommand(list, IDC_TEA_CHANGE);
    ASSERT_TRUE(WaitUntil([&] { return ItemText(list, IDC_TEA_NAME) == "Teesorte 3"; }));
    ::SendMessageA(::GetDlgItem(list, IDC_TEA_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Darjeeling"));
    ::SendMessageA(::GetDlgItem(list, IDC_TEA_MIN), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("3"));
    ::SendMessageA(::GetDlgItem(list, IDC_TEA_SEC), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("45"));
    PostCommand(list, IDC_TEA_CHANGE);
    PostCommand(list, IDC_TEA_SAVE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(list); }));

    std::string name, minutes, seconds;
    EXPECT_TRUE(registry::ReadString("Teas", "Desc3", name));
    EXPECT_TRUE(registry::ReadString("Teas", "Min3", minutes));
    EXPECT_TRUE(registry::ReadString("Teas", "Sec3", seconds));
    EXPECT_EQ(name, "Darjeeling");
    EXPECT_EQ(minutes, "03");
    EXPECT_EQ(seconds, "45");

    // Hostile texts of another slot, as an outside edit leaves them.
    const std::string longName(255, 'x');
    registry::WriteString("Teas", "Desc5", longName.c_str());
    registry::WriteString("Teas", "Min5", "12abc");
    registry::WriteString("Teas", "Sec5", "");
    RestartProgram();
    PostCommand(window, ID_PRESET_FIRST + 3);
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 03:45"));
    PostCommand(window, ID_PRESET_FIRST + 5);
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 12:00")) << "the leading digits give the time";
}

TEST_F(PresetsTest, QuickSettingFromMenuTrayAndContextMenuStartsOrChangesNothing)
{
    StartProgram();
    // From the menu: 2:30 on the sliders, "Starten" runs it at once.
    PostCommand(window, ID_QUICKSET);
    HWND quick = program->WaitForWindowTitled("Schnelleinstellung");
    ASSERT_NE(quick, nullptr);
    ::SendMessageA(::GetDlgItem(quick, IDC_QUICK_MIN_SLIDER), TBM_SETPOS, TRUE, 2);
    ::SendMessageA(::GetDlgItem(quick, IDC_QUICK_SEC_SLIDER), TBM_SETPOS, TRUE, 30);
    PostCommand(quick, IDC_QUICK_START);
    EXPECT_TRUE(WaitUntil([&] { return StartCaption() == "&Stop"; }));
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 02:29", 3000));

    // While it runs, the context menu opens nothing.
    ::PostMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(10, 10));
    EXPECT_EQ(program->WaitForWindowTitled("Schnelleinstellung", 500), nullptr);
    PostClick(window, IDC_BUTTON_START);
    ASSERT_TRUE(WaitUntil([&] { return StartCaption() == "&Start"; }));
    const std::string stopped = Text(window);

    // From the tray and from the context menu: "Abbrechen" changes nothing.
    for (bool fromTray : {true, false}) {
        if (fromTray)
            PostCommand(window, ID_TRAY_QUICKSET);
        else
            ::PostMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(10, 10));
        quick = program->WaitForWindowTitled("Schnelleinstellung");
        ASSERT_NE(quick, nullptr) << (fromTray ? "tray" : "context menu");
        ::SendMessageA(::GetDlgItem(quick, IDC_QUICK_MIN_SLIDER), TBM_SETPOS, TRUE, 40);
        PostCommand(quick, IDCANCEL);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(quick); }));
        EXPECT_EQ(Text(window), stopped);
    }
}

} // namespace
