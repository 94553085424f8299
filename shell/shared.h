// shared.h -- a value that several threads read and write whole, and that a record can still copy.
#pragma once

#include <atomic>

// std::atomic is neither copyable nor assignable, yet the state records must be reset by assigning
// a fresh record. Shared<T> keeps the value atomic and lets the record be copied as a whole: a copy
// takes one consistent load of the other value.
template <class T> class Shared {
public:
    Shared(T value = T{}) : value_(value) {}
    Shared(const Shared& other) : value_(other.load()) {}
    Shared& operator=(const Shared& other) {
        store(other.load());
        return *this;
    }

    T load() const { return value_.load(std::memory_order_acquire); }
    void store(T value) { value_.store(value, std::memory_order_release); }

private:
    std::atomic<T> value_;
};
