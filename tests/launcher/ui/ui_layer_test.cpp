// The window and unit layer with real windows on the test's own thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>

#include "utilities/busy_delay.h"
#include "launcher/ui/buttons.h"
#include "launcher/ui/labels.h"
#include "launcher/ui/shape_box.h"
#include "launcher/ui/window.h"
#include "support/test_support.h"

namespace {

using testsupport::DiscardPendingMessages;
using testsupport::ServiceUntil;

WindowLayout TestLayout() {
    WindowLayout layout;
    layout.window = {"Quillmere.TestWindow", "layer test", 10, 10,   400, 300, WS_POPUP, 0,
                     RGB(0, 0, 0),           "Arial",      14, false};
    layout.units = {
        {UnitKind::TransLabel, "status", nullptr, 10, 20, 200, 24, "loading", nullptr, 0, true, true},
        {UnitKind::Label, "hand-off", nullptr, 300, 10, 50, 20, nullptr, nullptr, 0, false, true},
        {UnitKind::ShapeBox, "track", nullptr, 0, 290, 400, 5, nullptr, nullptr, 0, true, true},
        {UnitKind::ShapeBox, "fill", "track", 0, 0, 8, 16, nullptr, nullptr, 0, true, true},
        {UnitKind::SuperBtn, "pause", nullptr, 200, 250, 96, 32, "pause", nullptr, 0, false, false},
        {UnitKind::SuperBtn, "quit", nullptr, 300, 250, 96, 32, "quit", nullptr, 0, true, true},
        {UnitKind::PicBtn, "close", nullptr, 370, 5, 20, 20, nullptr, nullptr, 0, true, true},
    };
    layout.timers = {{"off", 0}, {"fast", 10}};
    return layout;
}

RECT InContainer(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string TextOf(HWND hwnd) {
    char buffer[256] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

bool OwnVisible(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

class UiLayer : public testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<Window>(TestLayout());
        // Hidden: under Xvfb without a window manager, Wine waits 2 s for the
        // manager when a shown window goes away.
        ASSERT_TRUE(window->Load(false));
    }
    void TearDown() override {
        window.reset();
        // Leave no quit request for the next test.
        DiscardPendingMessages();
    }

    std::unique_ptr<Window> window;
};

struct Expected {
    const char* name;
    const char* text;
    RECT rect;
    bool visible, enabled;
};

TEST_F(UiLayer, EveryUnitIsARealChildWindowWithTheTablesState) {
    const Expected table[] = {
        {"status", "loading", {10, 20, 210, 44}, true, true},   {"hand-off", "", {300, 10, 350, 30}, false, true},
        {"track", "", {0, 290, 400, 295}, true, true},          {"fill", "", {0, 0, 8, 16}, true, true},
        {"pause", "pause", {200, 250, 296, 282}, false, false}, {"quit", "quit", {300, 250, 396, 282}, true, true},
        {"close", "", {370, 5, 390, 25}, true, true},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.name);
        Unit* unit = window->FindUnit(e.name);
        ASSERT_NE(unit, nullptr);
        HWND hwnd = unit->Handle();
        ASSERT_TRUE(IsWindow(hwnd));
        EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD);
        EXPECT_EQ(TextOf(hwnd), e.text);
        RECT r = InContainer(hwnd);
        EXPECT_EQ(r.left, e.rect.left);
        EXPECT_EQ(r.top, e.rect.top);
        EXPECT_EQ(r.right, e.rect.right);
        EXPECT_EQ(r.bottom, e.rect.bottom);
        EXPECT_EQ(OwnVisible(hwnd), e.visible);
        EXPECT_EQ(IsWindowEnabled(hwnd) != FALSE, e.enabled);
    }
    EXPECT_EQ(GetParent(window->FindUnit("fill")->Handle()), window->FindUnit("track")->Handle());
    EXPECT_EQ(GetParent(window->FindUnit("track")->Handle()), window->Handle());
}

TEST(WindowLifetime, WindowCreatedRunsWithAllUnitsBeforeTheWindowShows) {
    Window window(TestLayout());
    bool createdWhileHidden = false, unitsAtCreation = false;
    window.WindowCreated = [&] {
        createdWhileHidden = !IsWindowVisible(window.Handle());
        unitsAtCreation = window.FindUnit("close") != nullptr;
    };
    ASSERT_TRUE(window.Load(true));
    EXPECT_TRUE(createdWhileHidden);
    EXPECT_TRUE(unitsAtCreation);
    EXPECT_TRUE(IsWindowVisible(window.Handle()));
    window.Destroy();
    DiscardPendingMessages();
}

TEST_F(UiLayer, PropertyChangesReachTheChildWindow) {
    auto* pause = window->Get<SuperBtn>("pause");
    pause->SetCaption("resume");
    pause->SetVisible(true);
    pause->SetEnabled(true);
    EXPECT_EQ(TextOf(pause->Handle()), "resume");
    EXPECT_TRUE(OwnVisible(pause->Handle()));
    EXPECT_TRUE(IsWindowEnabled(pause->Handle()));

    auto* fill = window->Get<ShapeBox>("fill");
    fill->SetLeft(-152);
    fill->SetWidth(150);
    EXPECT_EQ(fill->Left(), -152);
    EXPECT_EQ(fill->Width(), 150);
    EXPECT_EQ(fill->Height(), 16);
}

struct LabelJob {
    TransLabel* label;
    std::atomic<bool>* done;
};

DWORD WINAPI ChangeLabelFromWorker(void* p) {
    auto* job = static_cast<LabelJob*>(p);
    job->label->SetCaption("from worker");
    job->label->SetVisible(false);
    *job->done = true;
    return 0;
}

TEST_F(UiLayer, PropertyChangesFromAWorkerThreadTakeEffect) {
    auto* status = window->Get<TransLabel>("status");
    std::atomic<bool> done{false};
    LabelJob job{status, &done};
    HANDLE thread = CreateThread(nullptr, 0, ChangeLabelFromWorker, &job, 0, nullptr);
    // The caption goes through a message the UI thread must process.
    ASSERT_TRUE(ServiceUntil([&] { return done.load(); }, 5000));
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    EXPECT_EQ(TextOf(status->Handle()), "from worker");
    EXPECT_FALSE(OwnVisible(status->Handle()));
}

TEST_F(UiLayer, BackgroundPictureFromAWorkerIsTakenOnTheUiThreadOrFreedWithTheWindow) {
    auto fromWorker = [&](HBITMAP picture) { std::thread([&] { window->SetBackgroundPicture(picture); }).join(); };
    HBITMAP taken = CreateBitmap(4, 4, 1, 32, nullptr);
    fromWorker(taken);
    EXPECT_EQ(window->BackgroundPicture(), nullptr) << "handed over, not set on the worker";
    ASSERT_TRUE(ServiceUntil([&] { return window->BackgroundPicture() == taken; }, 5000));
    // Null from a worker means the colour again.
    fromWorker(nullptr);
    ASSERT_TRUE(ServiceUntil([&] { return window->BackgroundPicture() == nullptr; }, 5000));
    EXPECT_EQ(GetObjectType(taken), 0u);
    taken = CreateBitmap(4, 4, 1, 32, nullptr);
    fromWorker(taken);
    ASSERT_TRUE(ServiceUntil([&] { return window->BackgroundPicture() == taken; }, 5000));

    // The window goes before it has handled the next one.
    HBITMAP late = CreateBitmap(4, 4, 1, 32, nullptr);
    fromWorker(late);
    window->Destroy();
    DiscardPendingMessages();
    EXPECT_EQ(GetObjectType(late), 0u) << "the picture the window never took is freed";
    EXPECT_EQ(window->BackgroundPicture(), taken);
}

TEST_F(UiLayer, ClickingAButtonRaisesItsClickedEvent) {
    int clicks = 0;
    window->Get<SuperBtn>("quit")->Clicked = [&] { ++clicks; };
    window->Get<PicBtn>("close")->Clicked = [&] { clicks += 10; };
    SendMessageA(window->FindUnit("quit")->Handle(), BM_CLICK, 0, 0);
    SendMessageA(window->FindUnit("close")->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 11);
}

struct HandOff {
    Label* label;
    int a, b;
    bool wait;
    std::atomic<int> result{-1};
    std::atomic<bool> done{false};
};

DWORD WINAPI RaiseFromWorker(void* p) {
    auto* h = static_cast<HandOff*>(p);
    h->result = RaiseFeedbackEvent(h->label, h->a, h->b, h->wait);
    h->done = true;
    return 0;
}

TEST_F(UiLayer, FeedbackEventRaisedByAWorkerRunsOnTheUiThreadAndReturnsItsResult) {
    auto* label = window->Get<Label>("hand-off");
    DWORD handlerThread = 0;
    label->FeedbackEvent = [&](int a, int b) {
        handlerThread = GetCurrentThreadId();
        return a * 100 + b;
    };
    HandOff h{label, 7, 42, true};
    HANDLE thread = CreateThread(nullptr, 0, RaiseFromWorker, &h, 0, nullptr);
    ASSERT_TRUE(ServiceUntil([&] { return h.done.load(); }, 5000));
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    EXPECT_EQ(h.result, 742);
    EXPECT_EQ(handlerThread, GetCurrentThreadId());
}

TEST_F(UiLayer, FeedbackEventWithoutWaitIsPostedAndReturnsZero) {
    auto* label = window->Get<Label>("hand-off");
    std::atomic<int> seen{0};
    DWORD handlerThread = 0;
    label->FeedbackEvent = [&](int a, int b) {
        handlerThread = GetCurrentThreadId();
        seen = a + b;
        return 99;
    };
    HandOff h{label, 3, 4, false};
    HANDLE thread = CreateThread(nullptr, 0, RaiseFromWorker, &h, 0, nullptr);
    // The raiser returns without the UI thread having run anything.
    ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_EQ(h.result, 0);
    EXPECT_EQ(seen, 0);
    ASSERT_TRUE(ServiceUntil([&] { return seen.load() != 0; }, 5000));
    EXPECT_EQ(seen, 7);
    EXPECT_EQ(handlerThread, GetCurrentThreadId());
}

TEST_F(UiLayer, TimerTicksAtItsIntervalAndZeroStopsIt) {
    Timer* fast = window->FindTimer("fast");
    Timer* off = window->FindTimer("off");
    int fastTicks = 0, offTicks = 0;
    fast->Tick = [&] { ++fastTicks; };
    off->Tick = [&] { ++offTicks; };
    ASSERT_TRUE(ServiceUntil([&] { return fastTicks >= 3; }, 5000));
    EXPECT_EQ(offTicks, 0);

    fast->SetInterval(0);
    EXPECT_EQ(fast->Interval(), 0);
    int stoppedAt = fastTicks;
    // Another timer at the same interval shows that ticks were due meanwhile.
    off->SetInterval(10);
    ASSERT_TRUE(ServiceUntil([&] { return offTicks >= 3; }, 5000));
    EXPECT_EQ(fastTicks, stoppedAt);
}

DWORD WINAPI StartTimerFromWorker(void* p) {
    static_cast<Timer*>(p)->SetInterval(10);
    return 0;
}

DWORD WINAPI StopTimerFromWorker(void* p) {
    static_cast<Timer*>(p)->SetInterval(0);
    return 0;
}

TEST_F(UiLayer, TimerIntervalSetByAWorkerStartsAndStopsIt) {
    Timer* off = window->FindTimer("off");
    int ticks = 0, referenceTicks = 0;
    off->Tick = [&] { ++ticks; };
    window->FindTimer("fast")->Tick = [&] { ++referenceTicks; };
    HANDLE thread = CreateThread(nullptr, 0, StartTimerFromWorker, off, 0, nullptr);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    ASSERT_TRUE(ServiceUntil([&] { return ticks >= 2; }, 5000));

    thread = CreateThread(nullptr, 0, StopTimerFromWorker, off, 0, nullptr);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    ASSERT_TRUE(testsupport::ServicePostedMessages());  // the stop request has run
    int stoppedAt = ticks;
    // The other 10 ms timer shows that ticks were due meanwhile.
    referenceTicks = 0;
    ASSERT_TRUE(ServiceUntil([&] { return referenceTicks >= 3; }, 5000));
    EXPECT_EQ(ticks, stoppedAt);
}

TEST_F(UiLayer, BusyDelayKeepsEventsRunningAndWaitsItsTime) {
    int ticks = 0;
    window->FindTimer("fast")->Tick = [&] { ++ticks; };
    int feedback = 0;
    window->Get<Label>("hand-off")->FeedbackEvent = [&](int a, int) { return feedback = a; };
    PostMessageA(window->FindUnit("hand-off")->Handle(), kFeedbackMessage, 5, 0);

    DWORD start = GetTickCount();
    BusyDelay(300);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 300u);
    EXPECT_LT(elapsed, 3000u);
    EXPECT_EQ(feedback, 5);
    EXPECT_GE(ticks, 2);
}

TEST_F(UiLayer, BusyWaitUntilSeesAFlagSetByItsOwnMessagesAndWithoutAWake) {
    // Set by an event of the waiting thread's own window, posted from
    // another thread without a wake: the message itself wakes the wait.
    std::atomic<std::atomic<bool>*> target{nullptr};
    window->Get<Label>("hand-off")->FeedbackEvent = [&](int, int) { return *target.load() = true, 0; };
    HWND handOff = window->FindUnit("hand-off")->Handle();
    const int rounds = 8;
    unsigned long elapsed = testsupport::TimeWokenBusyWaits(rounds, [&](std::atomic<bool>& flag) {
        target = &flag;
        PostMessageA(handOff, kFeedbackMessage, 1, 0);
    });
    EXPECT_LT(elapsed, rounds * 250ul / 2);

    // Set with no wake at all: seen at the latest a quarter second later.
    std::atomic<bool> flag{false};
    std::thread setter([&] {
        Sleep(50);
        flag = true;
    });
    DWORD start = GetTickCount();
    BusyWaitUntil([&] { return flag.load(); });
    EXPECT_LT(GetTickCount() - start, 1500u);
    setter.join();
}

TEST(WindowLifetime, DestroyingRaisesWindowDestroyingAndTheLastWindowEndsTheLoop) {
    DiscardPendingMessages();
    ASSERT_EQ(Window::LiveWindowCount(), 0);
    Window first(TestLayout()), second(TestLayout());
    int destroying = 0;
    first.WindowDestroying = [&] { ++destroying; };
    ASSERT_TRUE(first.Load(false));
    ASSERT_TRUE(second.Load(false));
    EXPECT_EQ(Window::LiveWindowCount(), 2);

    first.Destroy();
    EXPECT_EQ(destroying, 1);
    EXPECT_EQ(first.Handle(), nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));

    second.Destroy();
    EXPECT_EQ(Window::LiveWindowCount(), 0);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(WindowLifetime, ForeignChildWindowJoinsAsAUnit) {
    Window window(TestLayout());
    ASSERT_TRUE(window.Load(false));
    HWND foreign = CreateWindowExA(0, "STATIC", "host", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, window.Handle(), nullptr,
                                   nullptr, nullptr);
    window.AddUnit(std::make_unique<HostedUnit>(&window, "webview", foreign));
    Unit* unit = window.FindUnit("webview");
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->Handle(), foreign);
    EXPECT_EQ(unit->Caption(), "host");
    // A notification from a child the layer did not make is left alone.
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(foreign));
    window.Destroy();
    DiscardPendingMessages();
}

}  // namespace
