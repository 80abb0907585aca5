// CEventThread: the callback loop, its stop protocol, and that a stop never kills.
#include <windows.h>

#include <atomic>

#include <gtest/gtest.h>

#include "event_thread.h"

namespace {

struct Counter {
    std::atomic<int> nCalls{0};
    std::atomic<int> nCallsAfterStop{0};
    std::atomic<bool> bStopReturned{false};
    CEventThread* pThread = nullptr;
    DWORD dwPauseMs = 0;
    int nReturnFalseAt = 0; // 0: never
};

bool CountingCallback(void* pContext)
{
    auto* pCounter = static_cast<Counter*>(pContext);
    if (pCounter->bStopReturned)
        ++pCounter->nCallsAfterStop;
    const int nCall = ++pCounter->nCalls;
    if (pCounter->dwPauseMs)
        pCounter->pThread->SleepUnlessStopped(pCounter->dwPauseMs);
    return pCounter->nReturnFalseAt == 0 || nCall < pCounter->nReturnFalseAt;
}

bool WaitFor(const std::atomic<int>& value, int nAtLeast, DWORD dwTimeoutMs)
{
    const ULONGLONG ullDeadline = GetTickCount64() + dwTimeoutMs;
    while (value.load() < nAtLeast) {
        if (GetTickCount64() > ullDeadline)
            return false;
        Sleep(5);
    }
    return true;
}

TEST(EventThread, CallbackReturningFalseEndsTheThread)
{
    CEventThread thread;
    Counter counter;
    counter.pThread = &thread;
    counter.nReturnFalseAt = 1;
    ASSERT_TRUE(thread.Start(&CountingCallback, &counter));
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_TRUE(thread.SetActive(TRUE));
    ASSERT_TRUE(WaitFor(counter.nCalls, 1, 2000));
    for (int i = 0; i < 100 && thread.IsRunning(); ++i)
        Sleep(10);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_FALSE(thread.SetActive(TRUE));
    Sleep(50);
    EXPECT_EQ(counter.nCalls.load(), 1);
    thread.Stop(0);
    // A thread that ended by itself can be started again.
    counter.nReturnFalseAt = 0;
    ASSERT_TRUE(thread.Start(&CountingCallback, &counter));
    thread.SetActive(TRUE);
    EXPECT_TRUE(WaitFor(counter.nCalls, 3, 2000));
    thread.Stop(0);
}

TEST(EventThread, StopOnIdleObjectIsHarmless)
{
    CEventThread thread;
    thread.Stop(0);
    thread.Stop(100);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_FALSE(thread.SetActive(TRUE));
    EXPECT_EQ(thread.GetStopEvent(), nullptr);
}

TEST(EventThread, NothingIsCalledBeforeActivation)
{
    CEventThread thread;
    Counter counter;
    counter.pThread = &thread;
    ASSERT_TRUE(thread.Start(&CountingCallback, &counter));
    Sleep(100);
    EXPECT_EQ(counter.nCalls.load(), 0);
    thread.Stop(100);
    EXPECT_FALSE(thread.IsRunning());
}

// A callback sleeping in SleepUnlessStopped is woken: with any timeout, Stop returns
// promptly, leaves the object idle, and no callback starts afterwards.
class EventThreadStop : public ::testing::TestWithParam<DWORD> {};

TEST_P(EventThreadStop, EndsSleepingCallbackPromptlyWithoutKilling)
{
    CEventThread thread;
    Counter counter;
    counter.pThread = &thread;
    counter.dwPauseMs = 10000;
    ASSERT_TRUE(thread.Start(&CountingCallback, &counter));
    thread.SetActive(TRUE);
    ASSERT_TRUE(WaitFor(counter.nCalls, 1, 2000));

    const ULONGLONG ullStart = GetTickCount64();
    thread.Stop(GetParam());
    counter.bStopReturned = true;
    EXPECT_LT(GetTickCount64() - ullStart, 500u);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.GetStopEvent(), nullptr);
    Sleep(100);
    EXPECT_EQ(counter.nCallsAfterStop.load(), 0);
    EXPECT_EQ(counter.nCalls.load(), 1);
}

INSTANTIATE_TEST_SUITE_P(Timeouts, EventThreadStop, ::testing::Values(0u, 100u, 5000u));

TEST(EventThread, StopWaitsForBusyCallbackToFinish)
{
    // The worker is never terminated: a callback that does not look at the stop event
    // runs to its end, and Stop returns only after it.
    struct Busy {
        std::atomic<bool> bInside{false};
        std::atomic<bool> bFinished{false};
    } busy;
    auto fnCallback = [](void* pContext) -> bool {
        auto* pBusy = static_cast<Busy*>(pContext);
        pBusy->bInside = true;
        Sleep(300);
        pBusy->bFinished = true;
        return true;
    };
    CEventThread thread;
    ASSERT_TRUE(thread.Start(fnCallback, &busy));
    thread.SetActive(TRUE);
    while (!busy.bInside)
        Sleep(5);
    thread.Stop(0);
    EXPECT_TRUE(busy.bFinished);
    EXPECT_FALSE(thread.IsRunning());
}

TEST(EventThread, SetActiveFalseLetsCurrentCallFinishThenPauses)
{
    CEventThread thread;
    Counter counter;
    counter.pThread = &thread;
    counter.dwPauseMs = 100;
    ASSERT_TRUE(thread.Start(&CountingCallback, &counter));
    thread.SetActive(TRUE);
    ASSERT_TRUE(WaitFor(counter.nCalls, 1, 2000));
    EXPECT_TRUE(thread.SetActive(FALSE));
    Sleep(250); // the call in progress ends; at most one more may have begun before the reset
    const int nPaused = counter.nCalls.load();
    Sleep(300);
    EXPECT_EQ(counter.nCalls.load(), nPaused);
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_TRUE(thread.SetActive(TRUE));
    EXPECT_TRUE(WaitFor(counter.nCalls, nPaused + 2, 2000));
    thread.Stop(0);
}

TEST(EventThread, StopFromInsideCallbackEndsTheLoop)
{
    struct Self {
        CEventThread thread;
        std::atomic<int> nCalls{0};
    } self;
    auto fnCallback = [](void* pContext) -> bool {
        auto* pSelf = static_cast<Self*>(pContext);
        ++pSelf->nCalls;
        pSelf->thread.Stop(0); // cannot wait for itself: only asks for the end
        return true;
    };
    ASSERT_TRUE(self.thread.Start(fnCallback, &self));
    self.thread.SetActive(TRUE);
    for (int i = 0; i < 200 && self.thread.IsRunning(); ++i)
        Sleep(5);
    EXPECT_FALSE(self.thread.IsRunning());
    EXPECT_EQ(self.nCalls.load(), 1);
    self.thread.Stop(0);
}

// A callback blocked in SendMessage to the thread that is stopping it must not deadlock.
TEST(EventThread, StopDeliversMessagesSentByTheBlockedCallback)
{
    struct Shared {
        HWND hWnd = nullptr;
        std::atomic<int> nSent{0};
        std::atomic<int> nHandled{0};
    } shared;
    shared.hWnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(shared.hWnd, nullptr);
    auto fnCallback = [](void* pContext) -> bool {
        auto* pShared = static_cast<Shared*>(pContext);
        ++pShared->nSent;
        SendMessageW(pShared->hWnd, WM_NULL, 0, 0);
        ++pShared->nHandled;
        Sleep(10);
        return true;
    };
    CEventThread thread;
    ASSERT_TRUE(thread.Start(fnCallback, &shared));
    thread.SetActive(TRUE);
    ASSERT_TRUE(WaitFor(shared.nSent, 1, 2000)); // now blocked: this thread pumps no messages
    const ULONGLONG ullStart = GetTickCount64();
    thread.Stop(0);
    EXPECT_LT(GetTickCount64() - ullStart, 2000u);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(shared.nSent.load(), shared.nHandled.load());
    DestroyWindow(shared.hWnd);
}

} // namespace
