// Owning reference to a GObject: one ref held, released on destruction.
#pragma once

#include <glib-object.h>

#include <utility>

namespace runtime {

template <typename T>
class GObjectPtr {
public:
    GObjectPtr() = default;
    // Takes over a reference the caller already owns (a "transfer full" result).
    static GObjectPtr adopt(T* p) {
        GObjectPtr r;
        r.p_ = p;
        return r;
    }
    // Adds a reference of its own (for "transfer none" results).
    static GObjectPtr retain(T* p) {
        if (p) g_object_ref(p);
        return adopt(p);
    }
    ~GObjectPtr() { reset(); }
    GObjectPtr(const GObjectPtr& o) : p_(o.p_) {
        if (p_) g_object_ref(p_);
    }
    GObjectPtr(GObjectPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    GObjectPtr& operator=(GObjectPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    void reset() {
        if (auto p = std::exchange(p_, nullptr)) g_object_unref(p);
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// Holds a boxed or plain C resource with its own free function.
template <typename T, void (*Free)(T*)>
class CPtr {
public:
    CPtr() = default;
    explicit CPtr(T* p) : p_(p) {}
    ~CPtr() {
        if (p_) Free(p_);
    }
    CPtr(const CPtr&) = delete;
    CPtr& operator=(const CPtr&) = delete;
    CPtr(CPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    CPtr& operator=(CPtr&& o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset(T* p = nullptr) {
        if (p_) Free(p_);
        p_ = p;
    }

private:
    T* p_ = nullptr;
};

}  // namespace runtime

namespace runtime {

// A captureless lambda as a GLib signal callback (G_CALLBACK is a macro and
// cannot take a lambda with commas in it).
template <typename F>
GCallback callback(F f) {
    return reinterpret_cast<GCallback>(+f);
}

}  // namespace runtime
