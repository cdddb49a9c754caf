#include "platform/base/Threads.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <map>
#include <string>
#include <system_error>

#include "platform/base/Exceptions.h"

// ---------------------------------------------------------------------------
// Main thread, synchronisation queue

namespace {

thread_local TThreadID tCachedThreadId = 0;

// The forking thread is the child's only thread, under a new id.
void AfterForkInChild()
{
    tCachedThreadId = 0;
    MainThreadID = GetCurrentThreadId();
}

}   // namespace

TThreadID GetCurrentThreadId()
{
    if (tCachedThreadId == 0) tCachedThreadId = TThreadID(::gettid());
    return tCachedThreadId;
}

namespace {

TThreadID InitMainThreadID()
{
    ::pthread_atfork(nullptr, nullptr, AfterForkInChild);
    return TThreadID(::getpid());   // the first thread's id is the process id
}

struct TSyncItem {
    TThreadMethod Method;
    TThread* Thread = nullptr;
    bool Synchronous = false;
    bool Done = false;
    std::exception_ptr Error;
};

// Never destroyed: workers may still reach it while the process exits.
struct TSyncState {
    std::mutex Lock;
    std::condition_variable Cv;
    std::deque<std::shared_ptr<TSyncItem>> Items;
    bool ShuttingDown = false;
};

void MarkShutdown();

TSyncState& Sync()
{
    static TSyncState* state = [] {
        auto* s = new TSyncState;
        std::atexit(MarkShutdown);
        return s;
    }();
    return *state;
}

void MarkShutdown()
{
    TSyncState& s = Sync();
    std::lock_guard<std::mutex> g(s.Lock);
    s.ShuttingDown = true;
    s.Items.clear();
    s.Cv.notify_all();
}

bool OnMainThread() { return GetCurrentThreadId() == MainThreadID; }

void Enqueue(const std::shared_ptr<TSyncItem>& item)
{
    TSyncState& s = Sync();
    {
        std::lock_guard<std::mutex> g(s.Lock);
        if (s.ShuttingDown) {
            item->Done = true;
            return;
        }
        s.Items.push_back(item);
        s.Cv.notify_all();
    }
    WakeMainThread();
}

}   // namespace

TThreadID MainThreadID = InitMainThreadID();
TWakeMainThreadHook WakeMainThread;

TWakeMainThreadHook& TWakeMainThreadHook::operator=(std::function<void()> fn)
{
    std::lock_guard<std::mutex> g(FLock);
    FFn = std::move(fn);
    return *this;
}

TWakeMainThreadHook& TWakeMainThreadHook::operator=(std::nullptr_t)
{
    std::lock_guard<std::mutex> g(FLock);
    FFn = nullptr;
    return *this;
}

void TWakeMainThreadHook::operator()() const
{
    std::function<void()> fn;
    {
        std::lock_guard<std::mutex> g(FLock);
        fn = FFn;
    }
    if (fn) fn();
}

TWakeMainThreadHook::operator bool() const
{
    std::lock_guard<std::mutex> g(FLock);
    return bool(FFn);
}

bool CheckSynchronize(int timeoutMs)
{
    if (!OnMainThread()) return false;
    TSyncState& s = Sync();
    std::unique_lock<std::mutex> l(s.Lock);
    if (s.Items.empty() && timeoutMs > 0)
        s.Cv.wait_for(l, std::chrono::milliseconds(timeoutMs), [&] { return !s.Items.empty(); });
    // Only what is pending now: a method that queues another does not keep
    // this call busy for ever.
    size_t count = s.Items.size();
    bool ran = false;
    for (size_t i = 0; i < count && !s.Items.empty(); ++i) {
        std::shared_ptr<TSyncItem> item = s.Items.front();
        s.Items.pop_front();
        l.unlock();
        ran = true;
        std::exception_ptr error;
        try {
            item->Method();
        } catch (...) {
            error = std::current_exception();
        }
        l.lock();
        if (item->Synchronous) {
            item->Error = error;
            item->Done = true;
            s.Cv.notify_all();
        } else if (error) {
            std::rethrow_exception(error);
        }
    }
    return ran;
}

// ---------------------------------------------------------------------------
// TThread

TThread::TThread(bool createSuspended) : FCreateSuspended(createSuspended) {}

TThread::~TThread()
{
    // What it queued refers to an object that is going: drop it first, so
    // the wait below does not run it either.
    RemoveQueuedEvents(this);
    bool self = Started() && FThreadID.load() == GetCurrentThreadId();
    if (Started() && !self && !FDone.load()) {
        Terminate();
        WaitForEnd();
    }
    {
        std::lock_guard<std::mutex> g(FLock);
        if (FHandle.joinable()) {
            if (self) FHandle.detach();
            else FHandle.join();
        }
    }
    RemoveQueuedEvents(this);
}

void TThread::AfterConstruction()
{
    if (!FCreateSuspended) Start();
}

bool TThread::Started() const
{
    std::lock_guard<std::mutex> g(FLock);
    return FStarted;
}

void TThread::Start()
{
    std::unique_lock<std::mutex> l(FLock);
    if (FStarted) throw EThread(L"Cannot call Start on a running or suspended thread");
    try {
        FHandle = std::thread(&TThread::Run, this);
    } catch (const std::system_error& e) {
        throw EThread(L"Thread creation error: " + UTF8ToString(e.what()));
    }
    FStarted = true;
    FCv.wait(l, [&] { return FThreadID.load() != 0; });
    // Last touch of this object here: from now on a FreeOnTerminate thread
    // may delete itself.
    FGo = true;
    FCv.notify_all();
}

void TThread::Resume()
{
    if (!Started()) Start();
}

void TThread::Terminate()
{
    FTerminated = true;
    TerminatedSet();
}

namespace {

int NiceOf(TThreadPriority p)
{
    switch (p) {
    case tpIdle: return 19;
    case tpLowest: return 10;
    case tpLower: return 5;
    case tpNormal: return 0;
    case tpHigher: return -5;
    case tpHighest: return -10;
    case tpTimeCritical: return -20;
    }
    return 0;
}

}   // namespace

void TThread::SetPriority(TThreadPriority value)
{
    FPriority = value;
    if (FThreadID.load() != 0 && !FDone.load()) ApplyPriority();
}

void TThread::ApplyPriority()
{
    // Raising a priority needs a privilege most users lack: then it stays.
    ::setpriority(PRIO_PROCESS, id_t(FThreadID.load()), NiceOf(FPriority.load()));
}

std::exception_ptr TThread::FatalException() const
{
    std::lock_guard<std::mutex> g(FLock);
    return FFatal;
}

void TThread::Run()
{
    {
        std::unique_lock<std::mutex> l(FLock);
        FThreadID = GetCurrentThreadId();
        FCv.notify_all();
        FCv.wait(l, [&] { return FGo; });
    }
    if (FPriority.load() != tpNormal) ApplyPriority();
    try {
        Execute();
    } catch (...) {
        std::lock_guard<std::mutex> g(FLock);
        FFatal = std::current_exception();
    }
    FFinished = true;
    try {
        DoTerminate();
    } catch (...) {
        // An OnTerminate handler's error has nowhere to go on this thread.
    }

    if (FFreeOnTerminate.load()) {
        {
            std::lock_guard<std::mutex> g(FLock);
            FHandle.detach();
        }
        TSyncState& s = Sync();
        bool handOver = false;
        {
            std::lock_guard<std::mutex> g(s.Lock);
            FDone = true;
            for (const auto& item : s.Items)
                if (item->Thread == this) handOver = true;
            if (handOver) {
                auto item = std::make_shared<TSyncItem>();
                TThread* self = this;
                item->Method = [self] { delete self; };
                s.Items.push_back(item);
                s.Cv.notify_all();
            }
        }
        if (handOver) WakeMainThread();
        else delete this;
        return;
    }
    TSyncState& s = Sync();
    std::lock_guard<std::mutex> g(s.Lock);
    FDone = true;
    s.Cv.notify_all();
}

void TThread::DoTerminate()
{
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

std::exception_ptr TThread::WaitForEnd()
{
    TSyncState& s = Sync();
    std::exception_ptr firstError;
    if (OnMainThread()) {
        // Keep serving the queue: the thread may be waiting in Synchronize.
        for (;;) {
            {
                std::unique_lock<std::mutex> l(s.Lock);
                s.Cv.wait(l, [&] { return FDone.load() || !s.Items.empty(); });
                if (FDone.load()) break;
            }
            try {
                CheckSynchronize(0);
            } catch (...) {
                if (!firstError) firstError = std::current_exception();
            }
        }
    } else {
        std::unique_lock<std::mutex> l(s.Lock);
        s.Cv.wait(l, [&] { return FDone.load(); });
    }
    std::lock_guard<std::mutex> g(FLock);
    if (FHandle.joinable()) FHandle.join();
    return firstError;
}

DWORD TThread::WaitFor()
{
    if (FFreeOnTerminate.load()) throw EThread(L"Cannot wait for a thread that frees itself");
    if (!Started()) throw EThread(L"Cannot wait for a thread that has not started");
    if (FThreadID.load() == GetCurrentThreadId()) throw EThread(L"A thread cannot wait for itself");
    // A queued method that failed while we served the queue is reported
    // once the thread has ended.
    if (std::exception_ptr e = WaitForEnd()) std::rethrow_exception(e);
    return FReturnValue.load();
}

void TThread::Synchronize(TThread* thread, const TThreadMethod& method)
{
    if (!method) return;
    if (OnMainThread()) {
        method();
        return;
    }
    auto item = std::make_shared<TSyncItem>();
    item->Method = method;
    item->Thread = thread;
    item->Synchronous = true;
    Enqueue(item);
    TSyncState& s = Sync();
    std::unique_lock<std::mutex> l(s.Lock);
    s.Cv.wait(l, [&] { return item->Done || s.ShuttingDown; });
    if (item->Error) std::rethrow_exception(item->Error);
}

void TThread::Queue(TThread* thread, const TThreadMethod& method)
{
    if (!method) return;
    if (OnMainThread()) {
        method();
        return;
    }
    auto item = std::make_shared<TSyncItem>();
    item->Method = method;
    item->Thread = thread;
    Enqueue(item);
}

void TThread::RemoveQueuedEvents(TThread* thread)
{
    TSyncState& s = Sync();
    std::lock_guard<std::mutex> g(s.Lock);
    for (auto it = s.Items.begin(); it != s.Items.end();) {
        // A waiting Synchronize is never dropped: its worker would hang.
        if ((*it)->Thread == thread && !(*it)->Synchronous) it = s.Items.erase(it);
        else ++it;
    }
}

// ---------------------------------------------------------------------------
// Critical sections

void InitializeCriticalSection(CRITICAL_SECTION* cs)
{
    if (cs) cs->FMutex = new std::recursive_mutex;
}

void EnterCriticalSection(CRITICAL_SECTION* cs) { cs->FMutex->lock(); }

BOOL TryEnterCriticalSection(CRITICAL_SECTION* cs) { return cs->FMutex->try_lock() ? 1 : 0; }

void LeaveCriticalSection(CRITICAL_SECTION* cs) { cs->FMutex->unlock(); }

void DeleteCriticalSection(CRITICAL_SECTION* cs)
{
    if (!cs) return;
    delete cs->FMutex;
    cs->FMutex = nullptr;
}

// ---------------------------------------------------------------------------
// Events

void TEventState::Set()
{
    std::lock_guard<std::mutex> g(FLock);
    FSignaled = true;
    if (FManual) FCv.notify_all();
    else FCv.notify_one();
}

void TEventState::Reset()
{
    std::lock_guard<std::mutex> g(FLock);
    FSignaled = false;
}

DWORD TEventState::Wait(DWORD timeoutMs)
{
    std::unique_lock<std::mutex> l(FLock);
    if (timeoutMs == INFINITE) {
        FCv.wait(l, [&] { return FSignaled; });
    } else if (!FCv.wait_for(l, std::chrono::milliseconds(timeoutMs), [&] { return FSignaled; })) {
        return WAIT_TIMEOUT;
    }
    if (!FManual) FSignaled = false;
    return WAIT_OBJECT_0;
}

namespace {

struct TNamedEvents {
    std::mutex Lock;
    std::map<String, std::weak_ptr<TEventState>> Map;
};

TNamedEvents& NamedEvents()
{
    static TNamedEvents* n = new TNamedEvents;
    return *n;
}

}   // namespace

HANDLE CreateEvent(void*, BOOL manualReset, BOOL initialState, const String& name)
{
    if (name.empty())
        return new TEventObject(std::make_shared<TEventState>(manualReset != 0, initialState != 0));
    TNamedEvents& n = NamedEvents();
    std::lock_guard<std::mutex> g(n.Lock);
    for (auto it = n.Map.begin(); it != n.Map.end();) {
        if (it->second.expired()) it = n.Map.erase(it);
        else ++it;
    }
    std::shared_ptr<TEventState> state = n.Map[name].lock();
    if (!state) {
        state = std::make_shared<TEventState>(manualReset != 0, initialState != 0);
        n.Map[name] = state;
    }
    return new TEventObject(state);
}

HANDLE CreateEvent(BOOL manualReset, BOOL initialState, const String& name)
{
    return CreateEvent(nullptr, manualReset, initialState, name);
}

std::shared_ptr<TEventState> EventStateOf(HANDLE event)
{
    if (event == nullptr || event == INVALID_HANDLE_VALUE) return nullptr;
    auto* e = dynamic_cast<TEventObject*>(event);
    return e ? e->State() : nullptr;
}

BOOL SetEvent(HANDLE event)
{
    auto state = EventStateOf(event);
    if (!state) return 0;
    state->Set();
    return 1;
}

BOOL ResetEvent(HANDLE event)
{
    auto state = EventStateOf(event);
    if (!state) return 0;
    state->Reset();
    return 1;
}

TEvent::TEvent() : FHandle(CreateEvent(nullptr, 1, 0, String())) {}

TEvent::TEvent(void* eventAttributes, bool manualReset, bool initialState, const String& name)
    : FHandle(CreateEvent(eventAttributes, manualReset, initialState, name))
{
}

TEvent::~TEvent() { CloseHandle(FHandle); }

void TEvent::SetEvent() { ::SetEvent(FHandle); }

void TEvent::ResetEvent() { ::ResetEvent(FHandle); }

TWaitResult TEvent::WaitFor(DWORD timeoutMs)
{
    switch (WaitForSingleObject(FHandle, timeoutMs)) {
    case WAIT_OBJECT_0: return wrSignaled;
    case WAIT_TIMEOUT: return wrTimeout;
    case WAIT_ABANDONED: return wrAbandoned;
    default: return wrError;
    }
}

// ---------------------------------------------------------------------------
// Time and atomics

void Sleep(DWORD ms)
{
    if (ms == 0) std::this_thread::yield();
    else std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {

struct TTickSource {
    std::mutex Lock;
    std::shared_ptr<std::function<uint64_t()>> Provider;
};

TTickSource& Ticks()
{
    static TTickSource* t = new TTickSource;
    return *t;
}

}   // namespace

uint64_t GetTickCount64()
{
    std::shared_ptr<std::function<uint64_t()>> p;
    {
        TTickSource& t = Ticks();
        std::lock_guard<std::mutex> g(t.Lock);
        p = t.Provider;
    }
    if (p) return (*p)();
    struct timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
}

DWORD GetTickCount() { return DWORD(GetTickCount64() & 0xFFFFFFFFu); }

void SetTickCountProvider(std::function<uint64_t()> provider)
{
    TTickSource& t = Ticks();
    std::lock_guard<std::mutex> g(t.Lock);
    t.Provider = provider ? std::make_shared<std::function<uint64_t()>>(std::move(provider)) : nullptr;
}

Integer InterlockedIncrement(Integer& target) { return __atomic_add_fetch(&target, 1, __ATOMIC_SEQ_CST); }

Integer InterlockedDecrement(Integer& target) { return __atomic_sub_fetch(&target, 1, __ATOMIC_SEQ_CST); }

Integer InterlockedExchange(Integer& target, Integer value)
{
    return __atomic_exchange_n(&target, value, __ATOMIC_SEQ_CST);
}

Integer InterlockedExchangeAdd(Integer& target, Integer value)
{
    return __atomic_fetch_add(&target, value, __ATOMIC_SEQ_CST);
}

Integer InterlockedCompareExchange(Integer& target, Integer exchange, Integer comparand)
{
    __atomic_compare_exchange_n(&target, &comparand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
    return comparand;
}
