#include "platform/vcl/Thread.h"

#include <QMetaObject>
#include <QThread>

#include <exception>

TThread::TThread() = default;

TThread::~TThread()
{
    if (FThread.joinable()) {
        Terminate();
        FThread.join();
    }
}

void TThread::Start()
{
    if (FStarted)
        return;
    FStarted = true;
    FThread = std::thread([this] { Run(); });
}

void TThread::Run()
{
    try {
        Execute();
    } catch (const std::exception& e) {
        FFatalException = QString::fromLocal8Bit(e.what());
    } catch (...) {
        FFatalException = QStringLiteral("Unknown error");
    }
    FFinished = true;
    // The end handler and the freeing happen on the owner's thread; if the object is gone
    // by then, Qt drops the queued call with it.
    QMetaObject::invokeMethod(this, [this] { Finish(); }, Qt::QueuedConnection);
}

void TThread::Finish()
{
    if (FThread.joinable())
        FThread.join();   // the worker has nothing left to do but return
    if (OnTerminate) {
        try {
            OnTerminate(this);
        } catch (...) {
            if (FreeOnTerminate)
                delete this;
            throw;
        }
    }
    if (FreeOnTerminate)
        delete this;
}

void TThread::Terminate()
{
    FTerminated = true;
    std::lock_guard<std::mutex> lock(FGateMutex);
    FSuspended = false;
    FGate.notify_all();
}

void TThread::Suspend()
{
    std::lock_guard<std::mutex> lock(FGateMutex);
    FSuspended = true;
}

void TThread::Resume()
{
    std::lock_guard<std::mutex> lock(FGateMutex);
    FSuspended = false;
    FGate.notify_all();
}

bool TThread::Suspended() const
{
    std::lock_guard<std::mutex> lock(FGateMutex);
    return FSuspended;
}

void TThread::CheckSuspended()
{
    std::unique_lock<std::mutex> lock(FGateMutex);
    FGate.wait(lock, [this] { return !FSuspended || FTerminated; });
}

void TThread::WaitFor()
{
    if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id())
        FThread.join();
}

void TThread::Synchronize(const std::function<void()>& fn)
{
    if (QThread::currentThread() == thread()) {
        fn();
        return;
    }
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        this,
        [&] {
            try {
                fn();
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
}
