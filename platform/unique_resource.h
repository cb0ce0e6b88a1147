// Move-only owner of one platform handle. Traits supply the handle type, the
// empty value, an emptiness test and the close operation:
//   struct Traits {
//     using Handle = ...;
//     static Handle Empty();
//     static bool IsEmpty(Handle);
//     static void Close(Handle);
//   };
#pragma once

#include <utility>

namespace platform {

template <typename Traits>
class unique_resource {
 public:
  using Handle = typename Traits::Handle;

  unique_resource() noexcept : handle_(Traits::Empty()) {}
  explicit unique_resource(Handle handle) noexcept : handle_(handle) {}
  ~unique_resource() { reset(); }

  unique_resource(const unique_resource&) = delete;
  unique_resource& operator=(const unique_resource&) = delete;

  unique_resource(unique_resource&& other) noexcept : handle_(other.release()) {}
  unique_resource& operator=(unique_resource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return !Traits::IsEmpty(handle_); }

  // Gives up ownership without closing.
  Handle release() noexcept { return std::exchange(handle_, Traits::Empty()); }

  // Closes the held handle (if any) and takes the new one.
  void reset(Handle handle = Traits::Empty()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (!Traits::IsEmpty(old)) Traits::Close(old);
  }

 private:
  Handle handle_;
};

}  // namespace platform
