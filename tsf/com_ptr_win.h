#pragma once
// One owned reference to a COM object, released on every path.

#include <utility>

namespace tvime {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller owns; with `addRef`, adds one of its own.
  explicit ComPtr(T* object, bool addRef = false) : object_(object) {
    if (object_ && addRef) object_->AddRef();
  }
  ComPtr(const ComPtr& other) : object_(other.object_) {
    if (object_) object_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~ComPtr() {
    if (object_) object_->Release();
  }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // For functions that hand out a new reference; whatever was held is released first.
  T** out() {
    if (object_) object_->Release();
    object_ = nullptr;
    return &object_;
  }
  void** out_void() { return reinterpret_cast<void**>(out()); }

 private:
  T* object_ = nullptr;
};

}  // namespace tvime
