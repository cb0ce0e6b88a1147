// Looking up other programs' top-level windows.
#pragma once

namespace platform {

class WindowFinder {
 public:
  virtual ~WindowFinder() = default;
  // FindWindowA(className, title); title may be null to match any title.
  virtual bool TopLevelWindowExists(const char* className, const char* title) = 0;
};

}  // namespace platform
