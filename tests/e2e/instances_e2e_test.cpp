// Many starts at once: exactly one becomes the timer, every other one says so and ends when its
// box is closed.
#include "tests/support/running_program.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

namespace registry = brewbell_registry;

namespace {

constexpr int kStarts = 10;
constexpr int kRounds = 3;

class Instances : public RunningProgramTest {};

TEST_F(Instances, TenSimultaneousStartsGiveOneTimerAndNineMessagesThreeTimesOver)
{
    for (int round = 1; round <= kRounds; ++round) {
        SCOPED_TRACE(round);
        registry::Clear();
        std::array<std::unique_ptr<Program>, kStarts> programs;
        for (auto &program : programs) {
            program = std::make_unique<Program>();
            ASSERT_TRUE(program->Start());
        }

        // Wait until every start has shown its window or its box; never two windows meanwhile.
        int mostWindows = 0;
        const DWORD started = ::GetTickCount();
        const bool settled = WaitUntil(
            [&] {
                int windows = 0, boxes = 0;
                for (const auto &program : programs) {
                    windows += program->FindMainWindow() != nullptr;
                    boxes += program->FindMessageBox() != nullptr;
                }
                mostWindows = std::max(mostWindows, windows);
                return windows == 1 && boxes == kStarts - 1;
            },
            60000);
        std::printf("round %d: %d starts settled in %lu ms\n", round, kStarts,
                    static_cast<unsigned long>(::GetTickCount() - started));
        ASSERT_TRUE(settled) << "not one window and nine boxes";
        EXPECT_EQ(mostWindows, 1) << "two main windows at once";

        // A close or a session end that reaches a second start while its box is open saves
        // nothing: the time it loaded must not overwrite the running timer's.
        for (const auto &program : programs) {
            HWND box = program->FindMessageBox();
            if (!box)
                continue;
            for (HWND window : program->TopLevelWindows()) {
                if (window == box)
                    continue;
                DWORD_PTR answer = 0;
                for (UINT message : {UINT{WM_QUERYENDSESSION}, UINT{WM_ENDSESSION}, UINT{WM_CLOSE}})
                    ::SendMessageTimeoutA(window, message, message == WM_ENDSESSION, 0, SMTO_ABORTIFHUNG, 5000,
                                          &answer);
            }
            EXPECT_NE(program->FindMessageBox(), nullptr);
            break;
        }
        EXPECT_EQ(registry::Groups(), std::vector<std::string>{}) << "a second start saved";

        Program *first = nullptr;
        for (const auto &program : programs) {
            if (program->FindMainWindow()) {
                first = program.get();
                continue;
            }
            HWND box = program->FindMessageBox();
            EXPECT_EQ(MessageBoxText(box), "Brewbell wurde bereits gestartet!");
            EXPECT_EQ(Text(box), "Brewbell");
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        ASSERT_NE(first, nullptr);
        for (const auto &program : programs) {
            if (program.get() == first)
                continue;
            ASSERT_TRUE(program->HasExited(10000)) << "a second start did not end after its box";
            EXPECT_EQ(program->ExitCode(), 0u);
        }
        EXPECT_FALSE(first->HasExited()) << "the first one runs on";
        EXPECT_NE(first->FindMainWindow(), nullptr);

        PostCommand(first->FindMainWindow(), ID_TRAY_EXIT); // "Programm beenden"
        ASSERT_TRUE(first->HasExited(5000));
        EXPECT_EQ(first->ExitCode(), 0u);
    }
}

} // namespace
