#pragma once
// A request's notification callback that records every call and answers as the test says.

#include <functional>
#include <vector>

#include "taskdialog/task_dialog_request.h"

namespace quorlex::test_support {

struct Notification {
  WindowHandle window = nullptr;
  std::uint32_t code = 0;
  WParam wParam = 0;
  LParam lParam = 0;
  CallbackData data = 0;
};

class RecordingCallback {
 public:
  void install(TASKDIALOGCONFIG& config) {
    config.pfCallback = &RecordingCallback::callback;
    config.lpCallbackData = reinterpret_cast<CallbackData>(this);
  }
  std::vector<std::uint32_t> codes() const {
    std::vector<std::uint32_t> result;
    for (const Notification& n : received) result.push_back(n.code);
    return result;
  }
  std::vector<Notification> withCode(std::uint32_t code) const {
    std::vector<Notification> result;
    for (const Notification& n : received) {
      if (n.code == code) result.push_back(n);
    }
    return result;
  }

  std::vector<Notification> received;
  // The answer to each notification; 0 when unset.
  std::function<CallbackResult(const Notification&)> respond;

 private:
  static CallbackResult QUORLEX_TASK_DIALOG_CALLBACK callback(WindowHandle window,
                                                              std::uint32_t code, WParam wParam,
                                                              LParam lParam, CallbackData data) {
    auto* self = reinterpret_cast<RecordingCallback*>(data);
    const Notification n{window, code, wParam, lParam, data};
    self->received.push_back(n);
    return self->respond ? self->respond(n) : callbackContinue;
  }
};

}  // namespace quorlex::test_support
