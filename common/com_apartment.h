#pragma once
// The calling thread in a single-threaded COM apartment for the owner's life.

#include <objbase.h>

namespace quorlex {

class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

}  // namespace quorlex
