// TThread: self-freeing, end handler on the user interface thread also after an exception,
// Synchronize, the pause gate.
#include "platform/vcl/Thread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

// Runs the event loop until cond holds or five seconds pass.
bool SpinUntil(const std::function<bool()>& cond)
{
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return cond();
}

class TTestThread : public TThread {
public:
    std::function<void(TTestThread*)> Body;
    static std::atomic<int> Alive;
    TTestThread() { ++Alive; }
    ~TTestThread() override { --Alive; }
    using TThread::CheckSuspended;

protected:
    void Execute() override { Body(this); }
};
std::atomic<int> TTestThread::Alive{0};

}  // namespace

TEST(ThreadTest, EndHandlerRunsOnTheUserInterfaceThreadAndTheThreadFreesItself)
{
    auto* t = new TTestThread;
    QThread* bodyThread = nullptr;
    t->Body = [&](TTestThread*) { bodyThread = QThread::currentThread(); };
    QThread* handlerThread = nullptr;
    QString fatal = "unset";
    bool done = false;
    t->OnTerminate = [&](TThread* self) {
        handlerThread = QThread::currentThread();
        fatal = self->FatalException();
        done = true;
    };
    QPointer<TThread> guard(t);
    t->Start();
    ASSERT_TRUE(SpinUntil([&] { return done && guard.isNull(); }));
    EXPECT_NE(bodyThread, QCoreApplication::instance()->thread());
    EXPECT_EQ(handlerThread, QCoreApplication::instance()->thread());
    EXPECT_TRUE(fatal.isEmpty());
    EXPECT_EQ(TTestThread::Alive, 0);
}

TEST(ThreadTest, ExceptionInTheBodyStillRunsTheEndHandlerWithItsText)
{
    auto* t = new TTestThread;
    t->Body = [](TTestThread*) { throw std::runtime_error("disk full"); };
    QString fatal;
    bool done = false;
    t->OnTerminate = [&](TThread* self) {
        fatal = self->FatalException();
        done = true;
    };
    t->Start();
    ASSERT_TRUE(SpinUntil([&] { return done; }));
    EXPECT_EQ(fatal, "disk full");
    EXPECT_TRUE(SpinUntil([] { return TTestThread::Alive == 0; }));
}

TEST(ThreadTest, SynchronizeRunsOnTheUserInterfaceThreadWhileTheWorkerWaits)
{
    auto* t = new TTestThread;
    std::vector<int> order;
    QThread* syncThread = nullptr;
    t->Body = [&](TTestThread* self) {
        self->Synchronize([&] {
            syncThread = QThread::currentThread();
            order.push_back(1);
        });
        order.push_back(2);   // only after the call returned
        try {
            self->Synchronize([] { throw std::runtime_error("in the window"); });
        } catch (const std::runtime_error&) {
            order.push_back(3);
        }
    };
    bool done = false;
    t->OnTerminate = [&](TThread*) { done = true; };
    t->Start();
    ASSERT_TRUE(SpinUntil([&] { return done; }));
    EXPECT_EQ(syncThread, QCoreApplication::instance()->thread());
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(ThreadTest, PauseGateHoldsTheBodyUntilResumed)
{
    auto* t = new TTestThread;
    t->FreeOnTerminate = false;
    std::atomic<int> steps{0};
    t->Body = [&](TTestThread* self) {
        while (!self->Terminated() && steps < 1000000) {
            self->CheckSuspended();
            ++steps;
            QThread::usleep(100);
        }
    };
    bool done = false;
    t->OnTerminate = [&](TThread*) { done = true; };
    t->Start();
    ASSERT_TRUE(SpinUntil([&] { return steps > 5; }));
    t->Suspend();
    QThread::msleep(50);   // let a step in flight finish
    const int held = steps;
    QThread::msleep(100);
    EXPECT_LE(steps - held, 1) << "the body kept running while suspended";
    t->Resume();
    EXPECT_TRUE(SpinUntil([&] { return steps > held + 5; }));
    t->Suspend();
    t->Terminate();   // a suspended thread that is told to stop still ends
    ASSERT_TRUE(SpinUntil([&] { return done; }));
    EXPECT_TRUE(t->Finished());
    delete t;
    EXPECT_EQ(TTestThread::Alive, 0);
}

TEST(ThreadTest, DeletingAKeptThreadStopsItAndDropsTheEndHandler)
{
    auto* t = new TTestThread;
    t->FreeOnTerminate = false;
    t->Body = [](TTestThread* self) {
        while (!self->Terminated())
            QThread::usleep(200);
    };
    bool handlerRan = false;
    t->OnTerminate = [&](TThread*) { handlerRan = true; };
    t->Start();
    QThread::msleep(20);
    delete t;
    QElapsedTimer spin;
    spin.start();
    while (spin.elapsed() < 200)   // a queued end handler would run here
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(handlerRan);
    EXPECT_EQ(TTestThread::Alive, 0);
}
