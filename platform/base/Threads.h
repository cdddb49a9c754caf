// Threads and synchronisation: TThread with Synchronize/Queue onto the main
// (user-interface) thread, critical sections, events (also as kernel-object
// HANDLEs), Sleep, the tick counters and the interlocked operations.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/base/Handles.h"
#include "platform/base/Objects.h"
#include "platform/base/Types.h"

// ---------------------------------------------------------------------------
// The main thread and the synchronisation queue

using TThreadID = DWORD;
using TThreadMethod = std::function<void()>;

// The kernel id of the calling thread (the Linux thread id).
TThreadID GetCurrentThreadId();
// The thread that started the process (in a forked child: the forking thread).
extern TThreadID MainThreadID;

// Runs, on the main thread, the methods that workers handed over with
// Synchronize or Queue, in the order they arrived. Waits up to timeoutMs for
// the first one when none is pending. Answers whether any ran. Called from
// another thread it does nothing and answers false. An exception raised by a
// queued method leaves CheckSynchronize (the methods behind it stay queued);
// one raised by a synchronised method goes back to the waiting worker.
bool CheckSynchronize(int timeoutMs = 0);

// Called (on the worker) each time a method is queued for the main thread, so
// the window system can wake its message loop. Assign it like a
// std::function<void()>; assignment and calls are safe from any thread.
class TWakeMainThreadHook {
public:
    TWakeMainThreadHook& operator=(std::function<void()> fn);
    TWakeMainThreadHook& operator=(std::nullptr_t);
    void operator()() const;
    explicit operator bool() const;

private:
    mutable std::mutex FLock;
    std::function<void()> FFn;
};
extern TWakeMainThreadHook WakeMainThread;

// ---------------------------------------------------------------------------
// TThread

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// A worker thread. Derive and override Execute; poll Terminated() to end
// cooperatively (no thread is ever killed).
//
// A thread created suspended starts with Start (or Resume). One created
// running starts in AfterConstruction, which the creator calls once the
// object is complete (NewThread<T>(...) does both), since a constructor
// cannot yet reach the overridden Execute.
//
// Ending: after Execute, Finished() turns true and OnTerminate runs on the
// main thread (through Synchronize). A FreeOnTerminate thread then deletes
// itself; when methods it queued are still waiting for the main thread, its
// deletion is queued behind them, so they run with the object alive and
// none is lost. Delete any other thread only after WaitFor (the destructor
// terminates and waits as a last resort, but by then the derived part is
// gone). Deleting a thread drops the methods it queued that have not run.
//
// Synchronize from a worker blocks until the main thread has run the
// method: inside CheckSynchronize, or inside a WaitFor the main thread
// makes (it keeps running the queue while it waits, so waiting for a thread
// that synchronises does not deadlock). Once the process has begun to exit
// (after main returns or exit is called), a pending Synchronize returns
// without running its method and further ones are dropped at once.
class TThread : public TObject {
public:
    explicit TThread(bool createSuspended);
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts a thread created running; the creator calls it once.
    void AfterConstruction();
    // Starts a suspended thread; EThread when it runs or ran already.
    void Start();
    // Starts the thread when it has not started; otherwise does nothing.
    void Resume();
    // Asks the thread to end: sets Terminated and calls TerminatedSet.
    void Terminate();
    bool Terminated() const { return FTerminated.load(); }
    // Waits until the thread has ended (OnTerminate included) and answers
    // ReturnValue. EThread when called for a FreeOnTerminate thread, one never
    // started, or by the thread itself.
    DWORD WaitFor();

    bool Started() const;
    bool Finished() const { return FFinished.load(); }
    bool Suspended() const { return !Started(); }
    bool FreeOnTerminate() const { return FFreeOnTerminate.load(); }
    void SetFreeOnTerminate(bool value) { FFreeOnTerminate = value; }
    TThreadPriority Priority() const { return FPriority.load(); }
    // Mapped to the thread's nice value where the system permits it.
    void SetPriority(TThreadPriority value);
    // 0 until the thread has started.
    TThreadID ThreadID() const { return FThreadID.load(); }
    DWORD ReturnValue() const { return FReturnValue.load(); }
    // The exception that ended Execute, if any.
    std::exception_ptr FatalException() const;

    // Runs on the main thread when the thread has ended; Sender is the thread.
    TNotifyEvent OnTerminate;

    void Synchronize(const TThreadMethod& method) { Synchronize(this, method); }
    void Queue(const TThreadMethod& method) { Queue(this, method); }
    // On the main thread both run the method at once. From a worker,
    // Synchronize waits for it and passes its exception on; Queue returns at
    // once. thread (may be nullptr) tags queued methods for RemoveQueuedEvents.
    static void Synchronize(TThread* thread, const TThreadMethod& method);
    static void Queue(TThread* thread, const TThreadMethod& method);
    static void RemoveQueuedEvents(TThread* thread);

protected:
    virtual void Execute() = 0;
    // Runs OnTerminate on the main thread.
    virtual void DoTerminate();
    // Called by Terminate, on the calling thread: wake what Execute waits on.
    virtual void TerminatedSet() {}
    void SetReturnValue(DWORD value) { FReturnValue = value; }

private:
    void Run();
    void ApplyPriority();
    std::exception_ptr WaitForEnd();

    std::thread FHandle;
    mutable std::mutex FLock;           // FStarted, FGo, FFatal, joining
    std::condition_variable FCv;
    bool FCreateSuspended;
    bool FStarted = false;
    bool FGo = false;
    std::exception_ptr FFatal;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FDone{false};     // the OS thread has finished its work
    std::atomic<bool> FFreeOnTerminate{false};
    std::atomic<TThreadPriority> FPriority{tpNormal};
    std::atomic<TThreadID> FThreadID{0};
    std::atomic<DWORD> FReturnValue{0};
};

// Creates a thread object and starts it (the "created running" form).
template <class T, class... Args>
T* NewThread(Args&&... args)
{
    T* t = new T(std::forward<Args>(args)...);
    t->AfterConstruction();
    return t;
}

// ---------------------------------------------------------------------------
// Critical sections and events

// A recursive lock, like the platform's critical section.
class TCriticalSection {
public:
    void Enter() { FMutex.lock(); }
    void Leave() { FMutex.unlock(); }
    void Acquire() { Enter(); }
    void Release() { Leave(); }
    bool TryEnter() { return FMutex.try_lock(); }

private:
    std::recursive_mutex FMutex;
};

struct TRTLCriticalSection {
    std::recursive_mutex* FMutex = nullptr;
};
using CRITICAL_SECTION = TRTLCriticalSection;
void InitializeCriticalSection(CRITICAL_SECTION* cs);
void EnterCriticalSection(CRITICAL_SECTION* cs);
BOOL TryEnterCriticalSection(CRITICAL_SECTION* cs);
void LeaveCriticalSection(CRITICAL_SECTION* cs);
void DeleteCriticalSection(CRITICAL_SECTION* cs);

// The state behind an event; shared by every handle of a named event and by
// whoever must signal it later (a registry watch).
class TEventState {
public:
    TEventState(bool manualReset, bool initialState) : FManual(manualReset), FSignaled(initialState) {}
    void Set();
    void Reset();
    // WAIT_OBJECT_0 or WAIT_TIMEOUT; an auto-reset event is consumed.
    DWORD Wait(DWORD timeoutMs);

private:
    std::mutex FLock;
    std::condition_variable FCv;
    const bool FManual;
    bool FSignaled;
};

// An event as a kernel-object HANDLE (what CreateEvent returns).
class TEventObject : public TKernelObject {
public:
    explicit TEventObject(std::shared_ptr<TEventState> state) : FState(std::move(state)) {}
    DWORD Wait(DWORD timeoutMs) override { return FState->Wait(timeoutMs); }
    const std::shared_ptr<TEventState>& State() const { return FState; }

private:
    std::shared_ptr<TEventState> FState;
};

// Events with the same non-empty name share one state within this process
// (while any handle of that name is open); the initial state of a later
// creation is then ignored, as the platform does.
HANDLE CreateEvent(void* securityAttributes, BOOL manualReset, BOOL initialState, const String& name);
HANDLE CreateEvent(BOOL manualReset, BOOL initialState, const String& name = String());
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// The shared state of an event handle; nullptr for anything else.
std::shared_ptr<TEventState> EventStateOf(HANDLE event);

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError, wrIOCompletion };

class TEvent {
public:
    // Manual reset, not signalled, unnamed.
    TEvent();
    TEvent(void* eventAttributes, bool manualReset, bool initialState, const String& name);
    ~TEvent();
    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;

    void SetEvent();
    void ResetEvent();
    TWaitResult WaitFor(DWORD timeoutMs = INFINITE);
    HANDLE Handle() const { return FHandle; }

private:
    HANDLE FHandle;
};
using TSimpleEvent = TEvent;

// ---------------------------------------------------------------------------
// Time and atomics

void Sleep(DWORD ms);
// Milliseconds since an arbitrary start (system start). GetTickCount wraps
// after 49.7 days as the platform's does.
uint64_t GetTickCount64();
DWORD GetTickCount();
// Replaces the clock behind both tick counters (tests, the headless window
// system); nullptr restores the system clock.
void SetTickCountProvider(std::function<uint64_t()> provider);

// Increment and Decrement answer the new value; Exchange, ExchangeAdd and
// CompareExchange answer the previous one.
Integer InterlockedIncrement(Integer& target);
Integer InterlockedDecrement(Integer& target);
Integer InterlockedExchange(Integer& target, Integer value);
Integer InterlockedExchangeAdd(Integer& target, Integer value);
Integer InterlockedCompareExchange(Integer& target, Integer exchange, Integer comparand);
inline Integer InterlockedIncrement(volatile Integer* target) { return InterlockedIncrement(const_cast<Integer&>(*target)); }
inline Integer InterlockedDecrement(volatile Integer* target) { return InterlockedDecrement(const_cast<Integer&>(*target)); }
inline Integer InterlockedExchange(volatile Integer* target, Integer value)
{
    return InterlockedExchange(const_cast<Integer&>(*target), value);
}
