// Recording WindowDrawing: every call in order, with a context that can be
// refused, and the points the pictures were centred on.
#pragma once

#include <string>
#include <vector>

#include "platform/drawing.h"

namespace fakes {

struct DrawCall {
  enum Kind { kGetContext, kReleaseContext, kRedrawAll, kRedrawRect, kText };
  Kind kind;
  unsigned flags = 0;
  platform::ClientRect rect{};
  int x = 0;
  int y = 0;
  std::string text;
  bool withContext = false;  // a context was held at the time
};

class FakeWindowDrawing : public platform::WindowDrawing {
 public:
  bool contextAvailable = true;
  bool contextHeld = false;
  std::vector<DrawCall> calls;
  std::vector<platform::ClientPoint> pictureCentres;
  platform::ClientSize textSize{8, 16};  // every text's size; (0, 0) stands for no context

  bool GetContext() override {
    calls.push_back({DrawCall::kGetContext, 0, {}, 0, 0, {}, contextHeld});
    contextHeld = contextAvailable;
    return contextHeld;
  }
  void ReleaseContext() override {
    calls.push_back({DrawCall::kReleaseContext, 0, {}, 0, 0, {}, contextHeld});
    contextHeld = false;
  }
  void RedrawAll(unsigned flags) override { calls.push_back({DrawCall::kRedrawAll, flags, {}, 0, 0, {}, contextHeld}); }
  void RedrawRect(const platform::ClientRect& rect, unsigned flags) override {
    calls.push_back({DrawCall::kRedrawRect, flags, rect, 0, 0, {}, contextHeld});
  }
  void WriteText(int x, int y, const char* text) override {
    calls.push_back({DrawCall::kText, 0, {}, x, y, text, contextHeld});
  }
  platform::ClientSize TextSize(const char*) override { return textSize; }
  void CentrePictures(const platform::ClientPoint* centres, std::size_t count) override {
    pictureCentres.assign(centres, centres + count);
  }

  std::vector<DrawCall> Of(DrawCall::Kind kind) const {
    std::vector<DrawCall> found;
    for (const DrawCall& call : calls) {
      if (call.kind == kind) found.push_back(call);
    }
    return found;
  }
};

}  // namespace fakes
