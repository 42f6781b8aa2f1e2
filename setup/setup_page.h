#pragma once
// The hooks a modal property sheet calls on each of its pages.

#include <cstdint>
#include <string_view>

namespace quorlex {

class ISetupPage {
 public:
  virtual ~ISetupPage() = default;
  virtual std::int32_t templateId() const = 0;
  // The page's entry in the sheet's page list: the title of its dialog template.
  virtual std::u16string_view title() const = 0;
  // The first time the sheet shows the page.
  virtual bool onInitDialog() = 0;
  // Every time the page becomes the shown page, the first time after onInitDialog.
  virtual bool onSetActive() = 0;
  // Before another page is shown or OK closes the sheet; false keeps the page shown.
  virtual bool onKillActive() = 0;
  // For every page that was initialised, while the sheet closes with OK.
  virtual void onOK() = 0;
};

}  // namespace quorlex
