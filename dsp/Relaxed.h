// SPDX-License-Identifier: GPL-3.0-or-later
// A value that one thread writes while another reads it without a lock: filter records drawn by
// the editor while the audio thread redesigns them, analyser levels, flags. Every access is a
// relaxed atomic load or store, which costs a plain move on x86; readers may see fields of two
// successive designs mixed, never a torn value.
#pragma once

#include <atomic>

template <typename T>
class Relaxed
{
public:
    constexpr Relaxed(T v = T()) noexcept : value(v) {}
    Relaxed(const Relaxed& other) noexcept : value(other.Load()) {}
    Relaxed& operator=(const Relaxed& other) noexcept
    {
        Store(other.Load());
        return *this;
    }
    Relaxed& operator=(T v) noexcept
    {
        Store(v);
        return *this;
    }

    operator T() const noexcept { return Load(); }
    T Load() const noexcept { return value.load(std::memory_order_relaxed); }
    void Store(T v) noexcept { value.store(v, std::memory_order_relaxed); }
    T Exchange(T v) noexcept { return value.exchange(v, std::memory_order_relaxed); }

private:
    std::atomic<T> value;
};
