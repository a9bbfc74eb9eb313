// A move-only owner of a handle-like value; portable so it can be unit-tested.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace toolkit {

// `Invalid` is the value that owns nothing, as an integer: 0 for most kinds of
// handle, -1 for a file's (INVALID_HANDLE_VALUE), which is no constant a
// template can take as a pointer.
template <typename Handle, auto Close, intptr_t Invalid = 0>
class Unique {
public:
    Unique() = default;
    explicit Unique(Handle h) : h_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : h_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~Unique() { reset(); }

    static Handle InvalidValue() {
        if constexpr (std::is_pointer_v<Handle>)
            return reinterpret_cast<Handle>(Invalid);
        else
            return static_cast<Handle>(Invalid);
    }
    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != InvalidValue(); }
    Handle release() { return std::exchange(h_, InvalidValue()); }
    void reset(Handle h = InvalidValue()) {
        if (h_ != InvalidValue()) Close(h_);
        h_ = h;
    }

private:
    Handle h_ = InvalidValue();
};

// Owns one reference to a COM interface.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(Interface* p) : p_(p) {}
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr& operator=(const ComPtr& other) {
        ComPtr(other).swap(*this);
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).swap(*this);
        return *this;
    }
    ~ComPtr() { reset(); }

    Interface* get() const { return p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    // For out-parameters: releases what is held and hands out the slot.
    Interface** put() {
        reset();
        return &p_;
    }
    void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

private:
    Interface* p_ = nullptr;
};

}  // namespace toolkit
