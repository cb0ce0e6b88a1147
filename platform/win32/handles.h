// RAII owners for the Win32 handles used by the programs.
#pragma once

#include <windows.h>

#include "platform/unique_resource.h"

namespace platform::win32 {

struct KeyTraits {
  using Handle = HKEY;
  static Handle Empty() { return nullptr; }
  static bool IsEmpty(Handle h) { return h == nullptr; }
  static void Close(Handle h) { RegCloseKey(h); }
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return nullptr; }
  static bool IsEmpty(Handle h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Empty() { return nullptr; }
  static bool IsEmpty(Handle h) { return h == nullptr; }
  static void Close(Handle h) { FreeLibrary(h); }
};

using UniqueKey = unique_resource<KeyTraits>;
using UniqueHandle = unique_resource<KernelHandleTraits>;
using UniqueModule = unique_resource<ModuleTraits>;

// A device context from GetDC, released to its window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Owning COM interface pointer; taking its address releases what it held.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = other.p_;
      other.p_ = nullptr;
    }
    return *this;
  }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** operator&() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_ != nullptr) {
      p_->Release();
      p_ = nullptr;
    }
  }

 private:
  T* p_ = nullptr;
};

}  // namespace platform::win32
