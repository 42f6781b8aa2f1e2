#pragma once
// The one owner of a VARIANT: cleared on reset and on destruction.

#include <oleauto.h>

#include <utility>

namespace quorlex {

class unique_variant {
 public:
  unique_variant() { VariantInit(&value_); }
  unique_variant(const unique_variant&) = delete;
  unique_variant& operator=(const unique_variant&) = delete;
  unique_variant(unique_variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
  unique_variant& operator=(unique_variant&& other) noexcept {
    if (this != &other) {
      reset();
      value_ = other.value_;
      VariantInit(&other.value_);
    }
    return *this;
  }
  ~unique_variant() { reset(); }

  // Takes over the contents of a VARIANT the caller owns, leaving it empty.
  static unique_variant attach(VARIANT& value) {
    unique_variant result;
    result.value_ = value;
    VariantInit(&value);
    return result;
  }
  // Hands the contents to the caller, who must clear them.
  [[nodiscard]] VARIANT detach() {
    VARIANT result = value_;
    VariantInit(&value_);
    return result;
  }

  void reset() {
    (void)VariantClear(&value_);  // clearing a valid VARIANT cannot fail
  }
  VARIANT* get() { return &value_; }
  const VARIANT* get() const { return &value_; }
  VARIANT* put() {
    reset();
    return &value_;
  }
  VARTYPE type() const { return V_VT(&value_); }

  static unique_variant fromLong(LONG number) {
    unique_variant result;
    V_VT(result.get()) = VT_I4;
    V_I4(result.get()) = number;
    return result;
  }
  // The plain machine integer (VT_INT), as some hosts expect for keys.
  static unique_variant fromInt(INT number) {
    unique_variant result;
    V_VT(result.get()) = VT_INT;
    V_INT(result.get()) = number;
    return result;
  }
  // Takes over the BSTR.
  static unique_variant fromBstr(BSTR text) {
    unique_variant result;
    V_VT(result.get()) = VT_BSTR;
    V_BSTR(result.get()) = text;
    return result;
  }
  // Takes its own reference to the object.
  static unique_variant fromDispatch(IDispatch* object) {
    unique_variant result;
    V_VT(result.get()) = VT_DISPATCH;
    V_DISPATCH(result.get()) = object;
    if (object) object->AddRef();
    return result;
  }

 private:
  VARIANT value_;
};

}  // namespace quorlex
