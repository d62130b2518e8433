#pragma once
// InOut<T>: an in/out argument that may be left out. Given a variable, the
// callee works on that variable and the caller sees what it was rewritten to;
// given a value (or left to its default), the callee works on a private copy.

#include <type_traits>
#include <utility>

template <class T>
class InOut
{
public:
    // Binds the caller's variable.
    InOut(T &target) : m_target(&target) {}
    // Works on a copy of a value the caller does not keep.
    InOut(T &&value) : m_own(std::move(value)), m_target(&m_own) {}
    InOut(const T &value) : m_own(value), m_target(&m_own) {}
    template <class U>
        requires(std::is_constructible_v<T, U> && !std::is_same_v<std::decay_t<U>, T>)
    InOut(U &&value) : m_own(std::forward<U>(value)), m_target(&m_own)
    {
    }
    InOut(const InOut &) = delete;
    InOut &operator=(const InOut &) = delete;

    T &operator*() { return *m_target; }
    const T &operator*() const { return *m_target; }
    T *operator->() { return m_target; }
    const T *operator->() const { return m_target; }

private:
    T m_own{};
    T *m_target;
};
