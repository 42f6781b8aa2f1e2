#include "taskdialog/task_dialog_client.h"

namespace quorlex {
namespace {

TaskDialogClientServices& installedServices() {
  static TaskDialogClientServices services;
  return services;
}

}  // namespace

void installTaskDialogClientServices(TaskDialogClientServices services) {
  installedServices() = std::move(services);
}

const TaskDialogClientServices& installedTaskDialogClientServices() { return installedServices(); }

CXTaskDialogMFCClient::CXTaskDialogMFCClient(WindowHandle parent)
    : CXTaskDialogMFCClient(parent, installedTaskDialogClientServices()) {}

CXTaskDialogMFCClient::CXTaskDialogMFCClient(WindowHandle parent,
                                             TaskDialogClientServices services)
    : services_(std::move(services)) {
  config_.cbSize = taskDialogConfigSize;
  config_.hwndParent = parent;
  config_.hInstance = services_.resourceModule;
  config_.pfCallback = &CXTaskDialogMFCClient::notificationCallback;
  config_.lpCallbackData = reinterpret_cast<CallbackData>(this);
}

CXTaskDialogMFCClient::~CXTaskDialogMFCClient() = default;

void CXTaskDialogMFCClient::ModifyFlags(std::uint32_t remove, std::uint32_t add) {
  setFlags(config_, add | (flagsOf(config_) & ~remove));
}

void CXTaskDialogMFCClient::SetWindowTitle(std::u16string_view title) {
  windowTitle_.assign(title);
  config_.pszWindowTitle = recordText(windowTitle_.c_str());
}

void CXTaskDialogMFCClient::SetMainInstruction(std::u16string_view instruction,
                                               std::uint32_t helpPromptId) {
  mainInstruction_.assign(instruction);
  config_.pszMainInstruction = recordText(mainInstruction_.c_str());
  helpPromptId_ = helpPromptId;
}

void CXTaskDialogMFCClient::SetMainIcon(std::uint16_t iconId) {
  ModifyFlags(TDF_USE_HICON_MAIN, 0);
  config_.pszMainIcon = textOrIdFromId(iconId);
}

void CXTaskDialogMFCClient::SetButtons(const TASKDIALOG_BUTTON* buttons, std::uint32_t count,
                                       int defaultId) {
  config_.pButtons = buttons;
  config_.cButtons = count;
  if (defaultId != 0) config_.nDefaultButton = defaultId;
}

void CXTaskDialogMFCClient::SetDefaultButton(int buttonId) { config_.nDefaultButton = buttonId; }

ResultCode CXTaskDialogMFCClient::runFramed(const TaskDialogFunction& dialog) {
  return runModalFramed(services_.framing, config_, helpPromptId_, [&] {
    return dialog(&config_, &selectedButton_, &selectedRadioButton_, &verification_);
  });
}

ResultCode CXTaskDialogMFCClient::DoModal() {
  ResultCode result = resultNotImplemented;  // no platform task dialog here
  if (services_.platformDialog != nullptr) {
    result = services_.platformDialog->run(
        [this](const TaskDialogFunction& platform) { return runFramed(platform); });
  }
  if (result >= 0) return result;
  if (!services_.ownDialog) return resultNotImplemented;
  return runFramed(services_.ownDialog);
}

bool CXTaskDialogMFCClient::OnButtonClicked(int) { return false; }
void CXTaskDialogMFCClient::OnRadioButtonClicked(int) {}
void CXTaskDialogMFCClient::OnHyperlinkClicked(const std::u16string&) {}
void CXTaskDialogMFCClient::OnExpandoButtonClicked(bool) {}
void CXTaskDialogMFCClient::OnVerificationClicked(bool) {}
bool CXTaskDialogMFCClient::OnTimer(std::uint32_t) { return false; }

void CXTaskDialogMFCClient::OnHelp() {
  if (services_.help == nullptr || config_.hwndParent == nullptr) return;
  HelpRequest request;
  request.item = window_;
  request.mouse = services_.help->cursorPosition();
  services_.help->sendHelp(config_.hwndParent, request);
}

CallbackResult QUORLEX_TASK_DIALOG_CALLBACK CXTaskDialogMFCClient::notificationCallback(
    WindowHandle dialog, std::uint32_t notification, WParam wParam, LParam lParam,
    CallbackData client) {
  auto* self = reinterpret_cast<CXTaskDialogMFCClient*>(client);
  if (self == nullptr) return callbackContinue;
  // The platform's dialog calls this: no exception of a handler may unwind into it.
  try {
    return self->dispatch(dialog, notification, wParam, lParam);
  } catch (...) {
    return callbackContinue;
  }
}

CallbackResult CXTaskDialogMFCClient::dispatch(WindowHandle dialog, std::uint32_t notification,
                                               WParam wParam, LParam lParam) {
  switch (notification) {
    case TDN_DIALOG_CONSTRUCTED:
      window_ = dialog;
      OnDialogConstructed();
      break;
    case TDN_CREATED: OnCreated(); break;
    case TDN_NAVIGATED: OnNavigated(); break;
    case TDN_BUTTON_CLICKED:
      return OnButtonClicked(static_cast<int>(wParam)) ? callbackVeto : callbackContinue;
    case TDN_HYPERLINK_CLICKED: {
      const auto* target = reinterpret_cast<const char16_t*>(lParam);
      OnHyperlinkClicked(target != nullptr ? std::u16string(target) : std::u16string());
      break;
    }
    case TDN_TIMER:
      return OnTimer(static_cast<std::uint32_t>(wParam)) ? callbackVeto : callbackContinue;
    case TDN_DESTROYED:
      OnDestroyed();
      window_ = nullptr;
      break;
    case TDN_RADIO_BUTTON_CLICKED: OnRadioButtonClicked(static_cast<int>(wParam)); break;
    case TDN_VERIFICATION_CLICKED: OnVerificationClicked(wParam != 0); break;
    case TDN_HELP: OnHelp(); break;
    case TDN_EXPANDO_BUTTON_CLICKED: OnExpandoButtonClicked(wParam != 0); break;
    default: break;
  }
  return callbackContinue;
}

}  // namespace quorlex
