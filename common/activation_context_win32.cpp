#include "common/activation_context_win32.h"

namespace quorlex {

ComponentActivationContext::ComponentActivationContext(HMODULE module) {
  ACTCTXW request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.hModule = module;
  request.lpResourceName = MAKEINTRESOURCEW(componentManifestId);
  context_ = CreateActCtxW(&request);
  if (context_ == INVALID_HANDLE_VALUE) return;
  if (!ActivateActCtx(context_, &cookie_)) cookie_ = 0;
}

ComponentActivationContext::~ComponentActivationContext() {
  if (cookie_ != 0) (void)DeactivateActCtx(0, cookie_);
  if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
}

}  // namespace quorlex
