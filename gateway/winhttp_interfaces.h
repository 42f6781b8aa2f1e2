#pragma once
// The WinHTTP request object's interface, IWinHttpRequest, declared here slot by slot in its
// documented order with its class and interface ids: mingw carries no header for it. Slots the
// transport never calls keep their place with loosely typed parameters.

#include <oaidl.h>

namespace quorlex::winhttp {

// WinHttp.WinHttpRequest.5.1
inline constexpr CLSID clsidWinHttpRequest{0x2087C2F4, 0x2CEF, 0x4953, {0xA8, 0xAB, 0x66, 0x77, 0x9B, 0x67, 0x04, 0x95}};
inline constexpr IID iidWinHttpRequest{0x016FE2EC, 0xB2C8, 0x45F8, {0xB2, 0x3B, 0x39, 0xE5, 0x3A, 0x75, 0x39, 0x6B}};

// WinHttpRequestOption, the values the transport uses.
inline constexpr LONG optionUrl = 1;
inline constexpr LONG optionEnableRedirects = 6;
// HTTPREQUEST_SETCREDENTIALS_FOR_SERVER: the credentials answer the server, not a proxy.
inline constexpr LONG credentialsForServer = 0;

struct IWinHttpRequest : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE SetProxy(LONG setting, VARIANT server, VARIANT bypassList) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCredentials(BSTR user, BSTR password, LONG flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Open(BSTR method, BSTR url, VARIANT async) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetRequestHeader(BSTR header, BSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetResponseHeader(BSTR header, BSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAllResponseHeaders(BSTR* headers) = 0;
  virtual HRESULT STDMETHODCALLTYPE Send(VARIANT body) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Status(LONG* status) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_StatusText(BSTR* status) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ResponseText(BSTR* body) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ResponseBody(VARIANT* body) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ResponseStream(VARIANT* body) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Option(LONG option, VARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Option(LONG option, VARIANT value) = 0;
  virtual HRESULT STDMETHODCALLTYPE WaitForResponse(VARIANT timeout, VARIANT_BOOL* succeeded) = 0;
  virtual HRESULT STDMETHODCALLTYPE Abort() = 0;
  virtual HRESULT STDMETHODCALLTYPE SetTimeouts(LONG resolve, LONG connect, LONG send, LONG receive) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetClientCertificate(BSTR certificate) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAutoLogonPolicy(LONG policy) = 0;
};

}  // namespace quorlex::winhttp

__CRT_UUID_DECL(quorlex::winhttp::IWinHttpRequest, 0x016FE2EC, 0xB2C8, 0x45F8, 0xB2, 0x3B, 0x39, 0xE5, 0x3A, 0x75, 0x39,
                0x6B)
