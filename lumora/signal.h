// Connections from library events to member functions of the user's objects.
//
//     button->onClick.Connect(new Instance<tSetup>(this), new Method<tSetup, void>(&tSetup::OnNext));
//
// A signal or callback owns the Instance and Method objects handed to it.
#ifndef LUMORA_SIGNAL_H
#define LUMORA_SIGNAL_H

#include <cstddef>
#include <utility>
#include <vector>

namespace lumora {

class InstanceBase {
public:
    virtual ~InstanceBase() = default;
};

template <class T> class Instance : public InstanceBase {
public:
    explicit Instance(T *object) : object(object) {}
    T *object;
};

template <class R, class... Args> class MethodBase {
public:
    virtual ~MethodBase() = default;
    virtual R Call(InstanceBase *instance, Args... args) const = 0;
};

template <class T, class R, class... Args> class Method : public MethodBase<R, Args...> {
public:
    explicit Method(R (T::*function)(Args...)) : function(function) {}
    R Call(InstanceBase *instance, Args... args) const override
    {
        T *object = static_cast<Instance<T> *>(instance)->object;
        return (object->*function)(args...);
    }

private:
    R (T::*function)(Args...);
};

// Any number of handlers without a result, called in the order of connection.
template <class... Args> class Signal {
public:
    Signal() = default;
    Signal(const Signal &) = delete;
    Signal &operator=(const Signal &) = delete;
    ~Signal() { DisconnectAll(); }

    void Connect(InstanceBase *instance, MethodBase<void, Args...> *method)
    {
        slots.emplace_back(instance, method);
    }

    void DisconnectAll()
    {
        for (auto &slot : slots) {
            delete slot.second;
            delete slot.first;
        }
        slots.clear();
    }

    bool IsConnected() const { return !slots.empty(); }

    void Emit(Args... args) const
    {
        // A handler may connect further handlers; those run from the next event on.
        std::size_t count = slots.size();
        for (std::size_t i = 0; i < count; i++) slots[i].second->Call(slots[i].first, args...);
    }

private:
    std::vector<std::pair<InstanceBase *, MethodBase<void, Args...> *>> slots;
};

// One handler whose result the library uses. The slot is public so that a user can
// free and clear what it holds before connecting a handler of its own.
template <class R, class... Args> class Callback {
public:
    Callback() = default;
    Callback(const Callback &) = delete;
    Callback &operator=(const Callback &) = delete;
    ~Callback() { Disconnect(); }

    // Replaces whatever the slot held.
    void Connect(InstanceBase *newInstance, MethodBase<R, Args...> *newMethod)
    {
        Disconnect();
        instance = newInstance;
        method = newMethod;
    }

    void Disconnect()
    {
        delete method;
        delete instance;
        method = nullptr;
        instance = nullptr;
    }

    bool IsConnected() const { return method != nullptr; }

    // The caller supplies the result to use when nothing is connected.
    R Call(R fallback, Args... args) const { return method ? method->Call(instance, args...) : fallback; }

    InstanceBase *instance = nullptr;
    MethodBase<R, Args...> *method = nullptr;
};

} // namespace lumora

#endif
