// The fake stands in for Windows in every test of the program; where it models the two threads
// and the modal loops wrongly, those tests would pass for the wrong reasons.
#include "platform/fake/fake_platform.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

class FakeInput : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.StartInput({[this](const KeyEvent& e) {
                                 trace.push_back("key " + std::to_string(e.vkCode));
                                 platform.RequestWake();
                                 return HookDecision::Swallow;
                             },
                             [this](const MouseEvent&) {
                                 trace.push_back("click");
                                 return HookDecision::Pass;
                             }});
        platform.SetWakeHandler([this] { trace.push_back("wake"); });
    }
    FakePlatform platform;
    std::vector<std::string> trace;
};

TEST_F(FakeInput, QueuedEventsArriveInsideEachModalLoopWithTheMainThreadsDispatchBetween) {
    platform.QueueKey('A');
    platform.QueueClick(Point{5, 5});
    platform.RunPending();
    EXPECT_TRUE(trace.empty()) << "queued events wait for a modal loop";
    EXPECT_EQ(platform.ShowMessageBox("Sure?", "Tovlen", MessageBoxButtons::YesNo), MessageBoxResult::Yes);
    EXPECT_EQ(trace, (std::vector<std::string>{"key 65", "wake", "click"}));
    EXPECT_EQ(platform.queuedDecisions,
              (std::vector<HookDecision>{HookDecision::Swallow, HookDecision::Pass}));

    Form owner;
    const auto modalLoops = std::vector<std::function<void()>>{
        [&] { platform.InputBox(0, "Name", "Tovlen", ""); }, [&] { platform.ChooseOpenFile(0, {}); },
        [&] { platform.ChooseFolder(0, "Folder"); },         [&] { platform.ShowPopupMenu(owner); },
        [&] { platform.PumpMessagesUntil(platform.now); },   [&] { platform.PumpPendingMessages(); },
    };
    for (std::size_t i = 0; i < modalLoops.size(); ++i) {
        trace.clear();
        platform.QueueKey('B');
        modalLoops[i]();
        EXPECT_EQ(trace, (std::vector<std::string>{"key 66", "wake"})) << "modal loop " << i;
    }
}

TEST_F(FakeInput, WorkPostedToEachThreadRunsInOrderAndBeforeLaterEvents) {
    platform.PostToInput([this] { trace.push_back("input 1"); });
    platform.PostToMain([this] { trace.push_back("main 1"); });
    platform.PostToInput([this] { trace.push_back("input 2"); });
    platform.PressKey('C');
    EXPECT_EQ(trace, (std::vector<std::string>{"input 1", "input 2", "key 67"}));
    platform.RunPending();
    EXPECT_EQ(trace.back(), "wake");
    EXPECT_EQ(trace[3], "main 1");

    // With no input thread nothing else owns its values: the work runs on the caller's thread.
    platform.StopInput();
    trace.clear();
    platform.PostToInput([this] { trace.push_back("at once"); });
    EXPECT_EQ(trace, (std::vector<std::string>{"at once"}));
    EXPECT_EQ(platform.PressKey('D'), HookDecision::Pass);
}

TEST_F(FakeInput, ALaterStartActivatesDropsTheHooksOrAsksForABusyMainThread) {
    int activations = 0;
    platform.SetActivationHandler([&] { ++activations; });
    platform.StartAgain("");
    EXPECT_EQ(activations, 0) << "the request reaches the main thread through its messages";
    platform.RunPending();
    EXPECT_EQ(activations, 1);

    platform.StartAgain("/test-busy 3000");
    EXPECT_EQ(platform.busyRequests,
              (std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(3000)}));

    platform.StartAgain("/test-drop-hooks");
    EXPECT_EQ(platform.PressKey('E'), HookDecision::Pass);
    EXPECT_EQ(platform.Click(Point{1, 1}), HookDecision::Pass);
    EXPECT_TRUE(trace.empty());
    platform.StartInput({[](const KeyEvent&) { return HookDecision::Swallow; }, nullptr});
    EXPECT_EQ(platform.PressKey('E'), HookDecision::Swallow);
}

} // namespace
} // namespace tov
