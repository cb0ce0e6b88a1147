// Custom resources of the running program's own module.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

class ModuleResources {
 public:
  virtual ~ModuleResources() = default;
  // FindResourceA(own module, name, type), then SizeofResource, LoadResource
  // and LockResource: the resource's bytes, which live as long as the
  // program. False when the resource is missing or cannot be loaded.
  virtual bool LoadCustomResource(const char* name, const char* type, const std::uint8_t** data,
                                  std::size_t* size) = 0;
};

}  // namespace platform
