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
                                 if (e.message == KeyMessage::KeyUp)
                                     return HookDecision::Swallow;
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

} // namespace
} // namespace tov
