#include "tests/taskdialog/fake_platform.h"

#include <gtest/gtest.h>

namespace quorlex::test_support {
namespace {

class FakeMeasuringContext : public ITextMeasurer {
 public:
  FakeMeasuringContext(std::vector<MeasureCall>& calls, int& open) : calls_(calls), open_(open) {
    ++open_;
  }
  ~FakeMeasuringContext() override { --open_; }
  TextSize measure(FontHandle font, std::u16string_view text, int widthLimit,
                   std::uint32_t format) override {
    calls_.push_back({font, std::u16string(text), widthLimit, format});
    return measureFake(font, text, widthLimit, format);
  }

 private:
  std::vector<MeasureCall>& calls_;
  int& open_;
};

}  // namespace

ModuleHandle fakeModule(std::uintptr_t number) { return reinterpret_cast<ModuleHandle>(number); }

FakePlatform::FakePlatform() = default;

FakePlatform::~FakePlatform() {
  EXPECT_TRUE(releaseErrors.empty()) << releaseErrors.front();
}

template <class Handle>
Handle FakePlatform::make(std::uintptr_t kind) {
  const auto handle = reinterpret_cast<Handle>(kind + (++serial_ << 20));
  live_.insert(handle);
  return handle;
}

void FakePlatform::releaseObject(const void* handle) {
  if (live_.erase(handle) == 0) releaseErrors.push_back("released twice or never made: " +
                                                        handleName(handle));
}

std::optional<std::u16string> FakePlatform::loadString(ModuleHandle module, std::uint16_t id) {
  const auto it = strings_.find({module, id});
  if (it == strings_.end()) return std::nullopt;
  return it->second;
}

IconHandle FakePlatform::loadIcon(ModuleHandle, std::uint16_t id, int size) {
  if (missingIcons.count(id) != 0) return nullptr;
  auto icon = make<IconHandle>(0x30000);
  icons_[icon] = {id, size, false};
  return icon;
}

BrushHandle FakePlatform::createSolidBrush(Colour colour) {
  if (failBrushes) return nullptr;
  auto brush = make<BrushHandle>(0x10000);
  colours_[brush] = colour;
  return brush;
}

PenHandle FakePlatform::createSolidPen(Colour colour, int) {
  if (failPens) return nullptr;
  auto pen = make<PenHandle>(0x20000);
  colours_[pen] = colour;
  return pen;
}

FontHandle FakePlatform::createMessageFont(std::int32_t height) {
  if (failFonts) return nullptr;
  return make<FontHandle>(0x40000 + static_cast<std::uintptr_t>(height & 0xFFFF));
}

IconHandle FakePlatform::copyIcon(IconHandle icon) {
  if (failCopies || icon == nullptr) return nullptr;
  auto copy = make<IconHandle>(0x30000);
  IconInfo info = iconInfo(icon);
  info.copy = true;
  icons_[copy] = info;
  return copy;
}

IconInfo FakePlatform::iconInfo(IconHandle icon) const {
  const auto it = icons_.find(icon);
  return it == icons_.end() ? IconInfo{} : it->second;
}

Colour FakePlatform::colourOf(const void* brushOrPen) const {
  const auto it = colours_.find(brushOrPen);
  return it == colours_.end() ? 0xFFFFFFFF : it->second;
}

std::unique_ptr<ITextMeasurer> FakePlatform::openMeasuringContext() {
  if (failMeasuring) return nullptr;
  return std::make_unique<FakeMeasuringContext>(measureCalls, openMeasuringContexts);
}

std::optional<int> FakePlatform::monitorWidthNearest(WindowHandle) { return monitorWidth; }

ModalRun FakePlatform::runModal(std::span<const std::uint8_t> dialogTemplate,
                                const PixelPlacement& placement, WindowHandle owner,
                                IDialogMessages& dialog) {
  lastTemplate.assign(dialogTemplate.begin(), dialogTemplate.end());
  lastOwner = owner;
  lastPlacementClient = placement.client;
  lastPlacementItems.clear();
  for (const DialogItem& item : placement.items) lastPlacementItems.emplace_back(item.id, item.pixels);
  if (modalFailure.result != resultOk) return modalFailure;
  if (windowCreationFails) return {resultOk, -1};
  const std::optional<ReadTemplate> read = readDialogTemplate(dialogTemplate);
  if (!read) {
    ADD_FAILURE() << "the dialog template does not read back";
    return {resultOk, -1};
  }
  window = std::make_unique<FakeDialogWindow>(*read);
  dialog.onInitDialog(*window);
  if (script) script(*window, dialog);
  dialog.onDestroy();
  if (!window->endedWith) ADD_FAILURE() << "the dialog never ended";
  return {resultOk, window->endedWith.value_or(-1)};
}

}  // namespace quorlex::test_support
