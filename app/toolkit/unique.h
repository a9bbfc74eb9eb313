// A move-only owner of a handle-like value; portable so it can be unit-tested.
#pragma once

#include <utility>

namespace toolkit {

template <typename Handle, auto Close, Handle Invalid = Handle{}>
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

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Invalid; }
    Handle release() { return std::exchange(h_, Invalid); }
    void reset(Handle h = Invalid) {
        if (h_ != Invalid) Close(h_);
        h_ = h;
    }

private:
    Handle h_ = Invalid;
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
