// One owner for every kind of handle, shaped like WIL's unique_any: the function that closes a
// handle and the value that means "no handle" are parameters, so each kind is one line
// (framework/handles.h). Needs no window system, so its tests run natively.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

template <typename T, auto Close, std::intptr_t InvalidBits = 0>
class UniqueAny {
public:
    using pointer = T;

    // The value that means "no handle": null for most kinds, -1 for what CreateFile returns.
    static T Invalid()
    {
        if constexpr (std::is_pointer_v<T>)
            return reinterpret_cast<T>(InvalidBits);
        else
            return static_cast<T>(InvalidBits);
    }

    UniqueAny() = default;
    explicit UniqueAny(T owned) : value(owned) {}
    UniqueAny(const UniqueAny &) = delete;
    UniqueAny &operator=(const UniqueAny &) = delete;
    UniqueAny(UniqueAny &&other) noexcept : value(other.release()) {}
    UniqueAny &operator=(UniqueAny &&other) noexcept
    {
        reset(other.release());
        return *this;
    }
    ~UniqueAny() { reset(); }

    T get() const { return value; }
    bool is_valid() const { return value != Invalid(); }
    explicit operator bool() const { return is_valid(); }
    // Gives the handle up: the caller closes it.
    T release() { return std::exchange(value, Invalid()); }
    // Closes the handle held (unless it is the one passed) and holds the new one.
    void reset(T owned = Invalid())
    {
        if (value != owned && is_valid())
            Close(value);
        value = owned;
    }
    // For a call that hands a new handle out through a pointer: closes the handle held, then
    // gives the place to write the new one into.
    T *put()
    {
        reset();
        return &value;
    }

private:
    T value = Invalid();
};
