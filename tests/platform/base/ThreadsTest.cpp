#include "platform/base/Threads.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <vector>

#include "platform/base/Exceptions.h"

namespace {

// Runs a function as Execute.
class TFnThread : public TThread {
public:
    explicit TFnThread(std::function<void(TFnThread&)> fn, bool suspended = true)
        : TThread(suspended), FFn(std::move(fn))
    {
    }
    using TThread::SetReturnValue;
    using TThread::Terminated;

protected:
    void Execute() override { FFn(*this); }

private:
    std::function<void(TFnThread&)> FFn;
};

// Drains the queue until pred holds or two seconds pass.
template <class Pred>
bool PumpUntil(Pred pred)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        CheckSynchronize(10);
    }
    return true;
}

TEST(Threads, SynchronizeAndQueueRunOnTheMainThreadInOrder)
{
    ASSERT_EQ(GetCurrentThreadId(), MainThreadID);
    std::vector<std::pair<int, TThreadID>> seen;   // touched only on the main thread
    std::atomic<int> wakes{0};
    WakeMainThread = [&] { ++wakes; };
    std::atomic<bool> syncReturned{false};

    TFnThread t([&](TFnThread& self) {
        self.Queue([&] { seen.push_back({1, GetCurrentThreadId()}); });
        self.Synchronize([&] { seen.push_back({2, GetCurrentThreadId()}); });
        syncReturned = true;   // Synchronize returned only after running
        self.Queue([&] { seen.push_back({3, GetCurrentThreadId()}); });
        self.SetReturnValue(42);
    });
    EXPECT_EQ(t.ThreadID(), 0u);
    t.Start();
    EXPECT_NE(t.ThreadID(), 0u);
    EXPECT_NE(t.ThreadID(), MainThreadID);
    EXPECT_TRUE(PumpUntil([&] { return seen.size() == 3; }));
    EXPECT_TRUE(syncReturned);
    EXPECT_EQ(t.WaitFor(), 42u);
    WakeMainThread = nullptr;

    ASSERT_EQ(seen.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(seen[i].first, i + 1);
        EXPECT_EQ(seen[i].second, MainThreadID);
    }
    EXPECT_GE(wakes.load(), 3);
    EXPECT_TRUE(t.Finished());
    EXPECT_THROW(t.Start(), EThread);

    // On the main thread both run at once.
    int direct = 0;
    TThread::Synchronize(nullptr, [&] { ++direct; });
    TThread::Queue(nullptr, [&] { ++direct; });
    EXPECT_EQ(direct, 2);
    EXPECT_FALSE(CheckSynchronize(0));
}

TEST(Threads, SynchronizedExceptionGoesBackToTheWorker)
{
    std::atomic<bool> caught{false};
    TFnThread t([&](TFnThread& self) {
        try {
            self.Synchronize([] { throw EConvertError(L"bad"); });
        } catch (const EConvertError& e) {
            caught = e.Message() == L"bad";
        }
    });
    t.Start();
    t.WaitFor();   // serves the queue while it waits
    EXPECT_TRUE(caught);
}

TEST(Threads, WaitForServesSynchronizeAndOnTerminate)
{
    int synced = 0;
    TObject* sender = nullptr;
    TThreadID terminateThread = 0;
    TFnThread t([&](TFnThread& self) {
        for (int i = 0; i < 5; ++i) self.Synchronize([&] { ++synced; });
    });
    t.OnTerminate = [&](TObject* s) {
        sender = s;
        terminateThread = GetCurrentThreadId();
    };
    t.Start();
    t.WaitFor();   // no deadlock although the worker waits for us
    EXPECT_EQ(synced, 5);
    EXPECT_EQ(sender, &t);
    EXPECT_EQ(terminateThread, MainThreadID);
}

TEST(Threads, CooperativeTerminateAndFatalException)
{
    std::atomic<int> loops{0};
    TFnThread t([&](TFnThread& self) {
        while (!self.Terminated()) {
            ++loops;
            Sleep(1);
        }
        throw std::runtime_error("ended");
    });
    t.Start();
    while (loops.load() < 3) Sleep(1);
    EXPECT_FALSE(t.Finished());
    t.Terminate();
    t.WaitFor();
    EXPECT_TRUE(t.Terminated());
    EXPECT_TRUE(t.Finished());
    ASSERT_TRUE(t.FatalException());
    EXPECT_THROW(std::rethrow_exception(t.FatalException()), std::runtime_error);

    TFnThread never([](TFnThread&) {});
    EXPECT_THROW(never.WaitFor(), EThread);   // never started: no hang
}

class TCountedThread : public TThread {
public:
    static std::atomic<int> Alive;
    explicit TCountedThread(std::function<void(TCountedThread&)> fn) : TThread(true), FFn(std::move(fn))
    {
        ++Alive;
        SetFreeOnTerminate(true);
    }
    ~TCountedThread() override { --Alive; }
    using TThread::Queue;

protected:
    void Execute() override { FFn(*this); }

private:
    std::function<void(TCountedThread&)> FFn;
};
std::atomic<int> TCountedThread::Alive{0};

TEST(Threads, FreeOnTerminateDeletesItselfAndKeepsItsQueuedWork)
{
    std::atomic<bool> ended{false};
    auto* quick = new TCountedThread([](TCountedThread&) {});
    quick->OnTerminate = [&](TObject*) { ended = true; };
    quick->Start();
    EXPECT_TRUE(PumpUntil([&] { return ended.load() && TCountedThread::Alive.load() == 0; }));

    // The thread ends before the main thread runs what it queued: the queued
    // method still runs, on a live object, and the object goes afterwards.
    std::atomic<bool> executed{false};
    int delivered = 0;
    auto* late = new TCountedThread([&](TCountedThread& self) {
        self.Queue([&delivered, &self] {
            EXPECT_EQ(TCountedThread::Alive.load(), 1);
            delivered += self.FreeOnTerminate() ? 1 : 100;
        });
        executed = true;
    });
    late->Start();
    while (!executed.load() || TCountedThread::Alive.load() != 1) Sleep(1);
    Sleep(20);
    EXPECT_EQ(TCountedThread::Alive.load(), 1);   // held until its work ran
    EXPECT_TRUE(PumpUntil([&] { return TCountedThread::Alive.load() == 0; }));
    EXPECT_EQ(delivered, 1);
}

TEST(Threads, CreatedRunningAndDestroyedWhileRunning)
{
    std::atomic<bool> ran{false};
    auto* t = NewThread<TFnThread>(
        [&](TFnThread& self) {
            ran = true;
            while (!self.Terminated()) Sleep(1);
        },
        false);
    while (!ran.load()) Sleep(1);
    t->SetPriority(tpLowest);
    EXPECT_EQ(t->Priority(), tpLowest);
    t->Terminate();
    t->WaitFor();
    delete t;

    // A thread whose queued work never ran is deleted: the work is dropped.
    int dropped = 0;
    auto* q = new TFnThread([&](TFnThread& self) { self.Queue([&] { ++dropped; }); });
    q->Start();
    std::thread([q] { q->WaitFor(); }).join();   // away from the main thread nothing is served
    delete q;
    EXPECT_FALSE(CheckSynchronize(0));
    EXPECT_EQ(dropped, 0);
}

TEST(Threads, ForkedChildTreatsItsOnlyThreadAsMain)
{
    ASSERT_EQ(GetCurrentThreadId(), MainThreadID);
    std::thread([] {
        pid_t pid = ::fork();   // forked from a worker
        if (pid == 0) {
            bool ok = GetCurrentThreadId() == TThreadID(::getpid()) && MainThreadID == TThreadID(::getpid());
            int ran = 0;
            TThread::Synchronize(nullptr, [&] { ++ran; });   // runs at once, no hang
            ::_exit(ok && ran == 1 ? 0 : 1);
        }
        int status = -1;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }).join();
    EXPECT_EQ(GetCurrentThreadId(), MainThreadID);
}

TEST(Events, ResetModesAndTimeouts)
{
    TEvent manual;
    EXPECT_EQ(manual.WaitFor(10), wrTimeout);
    manual.SetEvent();
    EXPECT_EQ(manual.WaitFor(0), wrSignaled);
    EXPECT_EQ(manual.WaitFor(0), wrSignaled);   // stays signalled
    manual.ResetEvent();
    EXPECT_EQ(manual.WaitFor(0), wrTimeout);

    TEvent autoReset(nullptr, false, true, L"");
    EXPECT_EQ(autoReset.WaitFor(0), wrSignaled);
    EXPECT_EQ(autoReset.WaitFor(0), wrTimeout);   // consumed

    // A waiter on another thread wakes on SetEvent; the time-out is honoured.
    HANDLE h = CreateEvent(nullptr, 1, 0, L"");
    std::atomic<DWORD> result{999};
    std::thread waiter([&] { result = WaitForSingleObject(h, INFINITE); });
    Sleep(20);
    EXPECT_EQ(result.load(), 999u);
    EXPECT_TRUE(SetEvent(h));
    waiter.join();
    EXPECT_EQ(result.load(), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(h));
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(h, 50), WAIT_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(45));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(SetEvent(nullptr));

    // A named event is one object for every handle of that name.
    HANDLE a = CreateEvent(1, 0, L"Shared");
    HANDLE b = CreateEvent(1, 1, L"Shared");   // the initial state of a later creation is ignored
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_TIMEOUT);
    SetEvent(a);
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0);
    CloseHandle(a);
    CloseHandle(b);
    HANDLE c = CreateEvent(1, 0, L"Shared");   // all closed: a new object
    EXPECT_EQ(WaitForSingleObject(c, 0), WAIT_TIMEOUT);
    CloseHandle(c);
}

TEST(Locks, CriticalSectionsAreRecursiveAndExclusive)
{
    TCriticalSection cs;
    cs.Enter();
    cs.Acquire();   // the owner may enter again
    std::atomic<int> other{-1};
    std::thread t([&] { other = cs.TryEnter() ? 1 : 0; });
    t.join();
    EXPECT_EQ(other.load(), 0);
    cs.Release();
    cs.Leave();
    EXPECT_TRUE(cs.TryEnter());
    cs.Leave();

    CRITICAL_SECTION raw;
    InitializeCriticalSection(&raw);
    int counter = 0;
    Integer atomicCounter = 0;
    std::vector<std::thread> workers;
    for (int i = 0; i < 4; ++i)
        workers.emplace_back([&] {
            for (int j = 0; j < 1000; ++j) {
                EnterCriticalSection(&raw);
                ++counter;
                LeaveCriticalSection(&raw);
                InterlockedIncrement(atomicCounter);
            }
        });
    for (auto& w : workers) w.join();
    DeleteCriticalSection(&raw);
    EXPECT_EQ(counter, 4000);
    EXPECT_EQ(atomicCounter, 4000);
    EXPECT_EQ(InterlockedDecrement(atomicCounter), 3999);
    EXPECT_EQ(InterlockedExchange(atomicCounter, 7), 3999);
    EXPECT_EQ(InterlockedExchangeAdd(atomicCounter, 3), 7);
    EXPECT_EQ(InterlockedCompareExchange(atomicCounter, 1, 5), 10);   // no match: unchanged
    EXPECT_EQ(InterlockedCompareExchange(atomicCounter, 1, 10), 10);
    EXPECT_EQ(atomicCounter, 1);
}

TEST(Ticks, ProviderAndWrap)
{
    uint64_t fake = 0x1FFFFFFF0ull;
    SetTickCountProvider([&] { return fake; });
    EXPECT_EQ(GetTickCount64(), 0x1FFFFFFF0ull);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    fake += 0x20;
    EXPECT_EQ(GetTickCount(), 0x10u);   // wrapped
    EXPECT_EQ(DWORD(GetTickCount() - 0xFFFFFFF0u), 0x20u);   // differences survive the wrap
    SetTickCountProvider(nullptr);
    uint64_t a = GetTickCount64();
    Sleep(20);
    uint64_t b = GetTickCount64();
    EXPECT_GE(b - a, 15u);
    EXPECT_LT(b - a, 5000u);
}

}   // namespace
