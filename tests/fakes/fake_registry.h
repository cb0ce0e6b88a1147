// In-memory registry for native tests: keys by subkey path, values with their
// type and bytes, access rules per mask, and a count of every call.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace fakes {

struct RegValue {
  std::uint32_t type = platform::kRegNone;
  std::vector<std::uint8_t> data;

  static RegValue Dword(std::uint32_t v) {
    RegValue r{platform::kRegDword, std::vector<std::uint8_t>(4)};
    std::memcpy(r.data.data(), &v, 4);
    return r;
  }
  // A REG_SZ with its terminator counted, as RegSetValueExA callers write it.
  static RegValue String(const std::string& s) {
    RegValue r{platform::kRegSz, std::vector<std::uint8_t>(s.begin(), s.end())};
    r.data.push_back(0);
    return r;
  }
  std::uint32_t AsDword() const {
    std::uint32_t v = 0;
    std::memcpy(&v, data.data(), data.size() < 4 ? data.size() : 4);
    return v;
  }
  std::string AsString() const {
    std::string s(data.begin(), data.end());
    auto end = s.find('\0');
    return end == std::string::npos ? s : s.substr(0, end);
  }
};

class FakeRegistry : public platform::Registry {
 public:
  using Values = std::map<std::string, RegValue>;

  // Access masks for which CreateKey/OpenKey fail with kErrorAccessDenied.
  std::set<std::uint32_t> deniedAccess;
  // Value names whose writes fail.
  std::set<std::string> failingWrites;
  int createCalls = 0;
  int openCalls = 0;
  int queryCalls = 0;
  int setCalls = 0;
  int openKeys = 0;  // keys handed out and not yet closed

  Values& Key(const std::string& path) { return keys_[path]; }
  bool HasKey(const std::string& path) const { return keys_.count(path) != 0; }
  const RegValue* Find(const std::string& path, const std::string& name) const {
    auto key = keys_.find(path);
    if (key == keys_.end()) return nullptr;
    auto value = key->second.find(name);
    return value == key->second.end() ? nullptr : &value->second;
  }

  long CreateKey(const char* subkey, std::uint32_t access, std::unique_ptr<platform::RegistryKey>* key) override {
    ++createCalls;
    if (deniedAccess.count(access)) return platform::kErrorAccessDenied;
    keys_[subkey];
    *key = std::make_unique<Key_>(this, subkey, access);
    return platform::kErrorSuccess;
  }
  long OpenKey(const char* subkey, std::uint32_t access, std::unique_ptr<platform::RegistryKey>* key) override {
    ++openCalls;
    if (deniedAccess.count(access)) return platform::kErrorAccessDenied;
    if (!keys_.count(subkey)) return platform::kErrorFileNotFound;
    *key = std::make_unique<Key_>(this, subkey, access);
    return platform::kErrorSuccess;
  }

 private:
  class Key_ : public platform::RegistryKey {
   public:
    Key_(FakeRegistry* owner, std::string path, std::uint32_t access)
        : owner_(owner), path_(std::move(path)), access_(access) {
      ++owner_->openKeys;
    }
    ~Key_() override { --owner_->openKeys; }
    long QueryValue(const char* name, std::uint32_t* type, void* data, std::uint32_t* size) override {
      ++owner_->queryCalls;
      const RegValue* value = owner_->Find(path_, name != nullptr ? name : "");
      if (value == nullptr) return platform::kErrorFileNotFound;
      if (type != nullptr) *type = value->type;
      auto stored = static_cast<std::uint32_t>(value->data.size());
      if (size == nullptr) return platform::kErrorSuccess;
      if (data == nullptr) {
        *size = stored;
        return platform::kErrorSuccess;
      }
      if (stored > *size) {
        *size = stored;
        return platform::kErrorMoreData;
      }
      if (stored != 0) std::memcpy(data, value->data.data(), stored);
      *size = stored;
      return platform::kErrorSuccess;
    }
    long SetValue(const char* name, std::uint32_t type, const void* data, std::uint32_t size) override {
      ++owner_->setCalls;
      if (access_ != platform::kKeyAllAccess) return platform::kErrorAccessDenied;
      if (owner_->failingWrites.count(name)) return platform::kErrorAccessDenied;
      RegValue value{type, std::vector<std::uint8_t>(size)};
      if (size != 0) std::memcpy(value.data.data(), data, size);
      owner_->keys_[path_][name] = value;
      return platform::kErrorSuccess;
    }

   private:
    FakeRegistry* owner_;
    std::string path_;
    std::uint32_t access_;
  };

  std::map<std::string, Values> keys_;
};

}  // namespace fakes
