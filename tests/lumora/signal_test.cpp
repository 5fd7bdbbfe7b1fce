#include "lumora/signal.h"

#include <gtest/gtest.h>

#include <string>

using lumora::Callback;
using lumora::Instance;
using lumora::Method;
using lumora::Signal;

namespace {

class Recorder {
public:
    void OnClick() { log += "click;"; }
    void OnOther() { log += "other;"; }
    void OnMessage(unsigned number, long first)
    {
        log += std::to_string(number) + "," + std::to_string(first) + ";";
    }
    bool AllowQuit() { return allow; }
    bool Refuse() { return false; }
    long Body(int value) { return value * 2; }

    std::string log;
    bool allow = true;
};

// Counts its own destruction, to show that a signal frees what it was handed.
class CountedInstance : public Instance<Recorder> {
public:
    CountedInstance(Recorder *recorder, int *deleted) : Instance<Recorder>(recorder), deleted(deleted) {}
    ~CountedInstance() override { ++*deleted; }

private:
    int *deleted;
};

template <class R, class... Args> class CountedMethod : public Method<Recorder, R, Args...> {
public:
    CountedMethod(R (Recorder::*function)(Args...), int *deleted)
        : Method<Recorder, R, Args...>(function), deleted(deleted)
    {
    }
    ~CountedMethod() override { ++*deleted; }

private:
    int *deleted;
};

} // namespace

TEST(Signal, HandlersRunInTheOrderOfConnection)
{
    Recorder recorder;
    Signal<> clicked;
    EXPECT_FALSE(clicked.IsConnected());
    clicked.Connect(new Instance<Recorder>(&recorder), new Method<Recorder, void>(&Recorder::OnOther));
    clicked.Connect(new Instance<Recorder>(&recorder), new Method<Recorder, void>(&Recorder::OnClick));
    EXPECT_TRUE(clicked.IsConnected());
    clicked.Emit();
    EXPECT_EQ(recorder.log, "other;click;");
}

TEST(Signal, HandlersReceiveTheEventsArguments)
{
    Recorder recorder;
    Signal<unsigned, long> message;
    message.Connect(new Instance<Recorder>(&recorder),
                    new Method<Recorder, void, unsigned, long>(&Recorder::OnMessage));
    message.Emit(16u, -3L);
    EXPECT_EQ(recorder.log, "16,-3;");
}

namespace {

class Chainer {
public:
    explicit Chainer(Signal<> *signal) : signal(signal) {}
    void ConnectAnother()
    {
        calls++;
        signal->Connect(new Instance<Chainer>(this), new Method<Chainer, void>(&Chainer::ConnectAnother));
    }
    Signal<> *signal;
    int calls = 0;
};

} // namespace

TEST(Signal, AHandlerConnectedDuringAnEventRunsFromTheNextEventOn)
{
    Signal<> clicked;
    Chainer chainer(&clicked);
    clicked.Connect(new Instance<Chainer>(&chainer), new Method<Chainer, void>(&Chainer::ConnectAnother));
    clicked.Emit();
    EXPECT_EQ(chainer.calls, 1);
    clicked.Emit();
    EXPECT_EQ(chainer.calls, 3);
}

TEST(Signal, DisconnectingAndDestructionFreeWhatWasHanded)
{
    Recorder recorder;
    int deleted = 0;
    {
        Signal<> clicked;
        clicked.Connect(new CountedInstance(&recorder, &deleted),
                        new CountedMethod<void>(&Recorder::OnClick, &deleted));
        clicked.DisconnectAll();
        EXPECT_EQ(deleted, 2);
        EXPECT_FALSE(clicked.IsConnected());
        clicked.Emit();
        EXPECT_EQ(recorder.log, "");
        clicked.Connect(new CountedInstance(&recorder, &deleted),
                        new CountedMethod<void>(&Recorder::OnClick, &deleted));
    }
    EXPECT_EQ(deleted, 4);
}

TEST(Callback, WithoutAHandlerTheFallbackIsTheResult)
{
    Callback<bool> allowQuit;
    EXPECT_FALSE(allowQuit.IsConnected());
    EXPECT_TRUE(allowQuit.Call(true));
    EXPECT_FALSE(allowQuit.Call(false));
}

TEST(Callback, TheConnectedHandlersResultIsUsed)
{
    Recorder recorder;
    recorder.allow = false;
    Callback<bool> allowQuit;
    allowQuit.Connect(new Instance<Recorder>(&recorder), new Method<Recorder, bool>(&Recorder::AllowQuit));
    EXPECT_FALSE(allowQuit.Call(true));
    Callback<long, int> body;
    body.Connect(new Instance<Recorder>(&recorder), new Method<Recorder, long, int>(&Recorder::Body));
    EXPECT_EQ(body.Call(0, 21), 42);
}

TEST(Callback, ConnectingReplacesAndFreesTheOldHandler)
{
    Recorder recorder;
    int deleted = 0;
    Callback<bool> allowQuit;
    allowQuit.Connect(new CountedInstance(&recorder, &deleted),
                      new CountedMethod<bool>(&Recorder::AllowQuit, &deleted));
    allowQuit.Connect(new Instance<Recorder>(&recorder), new Method<Recorder, bool>(&Recorder::Refuse));
    EXPECT_EQ(deleted, 2);
    EXPECT_FALSE(allowQuit.Call(true));
}

TEST(Callback, DisconnectAndDestructionFreeTheHandler)
{
    Recorder recorder;
    int deleted = 0;
    {
        Callback<bool> allowQuit;
        allowQuit.Connect(new CountedInstance(&recorder, &deleted),
                          new CountedMethod<bool>(&Recorder::AllowQuit, &deleted));
        allowQuit.Disconnect();
        EXPECT_EQ(deleted, 2);
        EXPECT_FALSE(allowQuit.IsConnected());
        EXPECT_TRUE(allowQuit.Call(true));
        allowQuit.Connect(new CountedInstance(&recorder, &deleted),
                          new CountedMethod<bool>(&Recorder::AllowQuit, &deleted));
    }
    EXPECT_EQ(deleted, 4);
}
