// Worker thread with the habits the program's threads rely on: it frees itself when its body
// ends, its end handler runs on the user interface thread (also after an exception, whose text
// it can read), Synchronize runs a call there while the worker waits, and a pause gate lets
// the user interface suspend and resume it at the points where the body checks the gate.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class TThread : public QObject {
    Q_OBJECT
public:
    TThread();
    ~TThread() override;   // a running thread is asked to stop and waited for
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    bool FreeOnTerminate = true;
    // Attach before Start(); runs on the thread that owns this object (the user interface).
    std::function<void(TThread*)> OnTerminate;

    void Start();
    void Terminate();                      // asks the body to stop; also opens the pause gate
    bool Terminated() const { return FTerminated; }
    void Suspend();
    void Resume();
    bool Suspended() const;
    bool Finished() const { return FFinished; }
    // The text of the exception that ended Execute, empty when it ran through.
    QString FatalException() const { return FFatalException; }
    // Blocks until the body has ended (not for self-freeing threads after they end).
    void WaitFor();

    // Runs fn on the user interface thread while the calling worker waits; an exception in
    // fn is raised again in the worker.
    void Synchronize(const std::function<void()>& fn);

protected:
    virtual void Execute() = 0;
    // The pause gate: blocks while suspended; the body calls it where pausing is safe.
    void CheckSuspended();

private:
    void Run();
    void Finish();

    std::thread FThread;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    QString FFatalException;
    mutable std::mutex FGateMutex;
    std::condition_variable FGate;
    bool FSuspended = false;
    bool FStarted = false;
};
