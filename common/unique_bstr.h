#pragma once
// The one owner of a BSTR. Texts are UTF-16 on both sides, so a BSTR and a u16string
// differ only in the unit type.

#include <oleauto.h>
#include <wtypes.h>

#include <string>
#include <string_view>
#include <utility>

namespace quorlex {

class unique_bstr {
 public:
  unique_bstr() = default;
  unique_bstr(const unique_bstr&) = delete;
  unique_bstr& operator=(const unique_bstr&) = delete;
  unique_bstr(unique_bstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
  unique_bstr& operator=(unique_bstr&& other) noexcept {
    unique_bstr(std::move(other)).swap(*this);
    return *this;
  }
  ~unique_bstr() { reset(); }

  // A copy of the text; empty (get() null) only when memory runs out.
  static unique_bstr from(std::u16string_view text) {
    return attach(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size())));
  }
  static unique_bstr attach(BSTR text) {
    unique_bstr result;
    result.text_ = text;
    return result;
  }
  [[nodiscard]] BSTR detach() { return std::exchange(text_, nullptr); }

  void reset() {
    if (BSTR old = std::exchange(text_, nullptr)) SysFreeString(old);
  }
  void swap(unique_bstr& other) noexcept { std::swap(text_, other.text_); }

  BSTR get() const { return text_; }
  explicit operator bool() const { return text_ != nullptr; }
  BSTR* put() {
    reset();
    return &text_;
  }

  // A null BSTR is the empty text, as COM treats it.
  std::u16string_view view() const { return view(text_); }
  std::u16string text() const { return std::u16string(view()); }
  static std::u16string_view view(BSTR text) {
    if (!text) return {};
    return {reinterpret_cast<const char16_t*>(text), SysStringLen(text)};
  }

 private:
  BSTR text_ = nullptr;
};

// Writes a copy of the text to a BSTR out-parameter; E_OUTOFMEMORY when it cannot.
inline HRESULT copyToBstr(std::u16string_view text, BSTR* out) {
  if (!out) return E_POINTER;
  unique_bstr copy = unique_bstr::from(text);
  if (!copy) return E_OUTOFMEMORY;
  *out = copy.detach();
  return S_OK;
}

}  // namespace quorlex
