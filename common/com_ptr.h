#pragma once
// The one owner of a COM interface pointer: AddRef on copy, Release on reset, nothing
// else in the code calls Release.

#include <unknwn.h>

#include <utility>

namespace quorlex {

template <class T>
class com_ptr {
 public:
  com_ptr() = default;
  com_ptr(std::nullptr_t) {}
  // Shares the pointer: takes a reference of its own.
  explicit com_ptr(T* pointer) : pointer_(pointer) {
    if (pointer_) pointer_->AddRef();
  }
  com_ptr(const com_ptr& other) : com_ptr(other.pointer_) {}
  com_ptr(com_ptr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ~com_ptr() { reset(); }

  com_ptr& operator=(const com_ptr& other) {
    com_ptr(other).swap(*this);
    return *this;
  }
  com_ptr& operator=(com_ptr&& other) noexcept {
    com_ptr(std::move(other)).swap(*this);
    return *this;
  }
  com_ptr& operator=(std::nullptr_t) {
    reset();
    return *this;
  }

  // Takes over a reference the caller already holds.
  static com_ptr attach(T* pointer) {
    com_ptr result;
    result.pointer_ = pointer;
    return result;
  }
  // Hands the reference to the caller.
  [[nodiscard]] T* detach() { return std::exchange(pointer_, nullptr); }

  void reset() {
    if (T* old = std::exchange(pointer_, nullptr)) old->Release();
  }
  void swap(com_ptr& other) noexcept { std::swap(pointer_, other.pointer_); }

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // For an out-parameter: releases what is held first.
  T** put() {
    reset();
    return &pointer_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

  // The interface of the given id, or an empty pointer with the failure code.
  template <class U>
  HRESULT query(REFIID iid, com_ptr<U>& out) const {
    if (!pointer_) return E_POINTER;
    return pointer_->QueryInterface(iid, out.put_void());
  }
  template <class U>
  HRESULT query(com_ptr<U>& out) const {
    return query(__uuidof(U), out);
  }
  // The interface, or an empty pointer where the object does not offer it.
  template <class U>
  com_ptr<U> try_query() const {
    com_ptr<U> result;
    (void)query(result);
    return result;
  }

  friend bool operator==(const com_ptr& a, const com_ptr& b) { return a.pointer_ == b.pointer_; }

 private:
  T* pointer_ = nullptr;
};

}  // namespace quorlex
