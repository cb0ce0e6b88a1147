// The virtual controller's side of the shared block: connecting to the block
// the driver created, holding its mutex, and recording each call.
#pragma once

#include "virtual_pad_block.h"

namespace vpad::dll {

// Opens the driver's block and mutex on first use (process-wide; they stay
// open until the DLL unloads). False when the driver has not created a block
// of this layout version.
bool Connect();
// Closes what Connect opened.
void Disconnect();

// Holds the block's mutex from construction to Unlock or destruction. Empty
// when not connected or when the mutex could not be had within a bound.
class BlockLock {
 public:
  BlockLock();
  ~BlockLock();
  BlockLock(const BlockLock&) = delete;
  BlockLock& operator=(const BlockLock&) = delete;

  explicit operator bool() const { return block_ != nullptr; }
  Block& operator*() const { return *block_; }
  Block* operator->() const { return block_; }
  void Unlock();

 private:
  Block* block_ = nullptr;
};

// One call in progress: its place in the call log and any forced result.
struct CallScope {
  std::uint32_t logIndex;
  bool forced;
  HRESULT forcedResult;

  bool ForcedFailure() const { return forced && FAILED(forcedResult); }
};

// Counts the call, appends it to the call log and takes one forced result.
CallScope BeginCall(Block& block, Call call, std::int32_t device);
// Applies a forced success code to a successful own result, stores the final
// result in the call log and returns it.
HRESULT EndCall(Block& block, const CallScope& scope, HRESULT own);

// Records a call of a method that is not implemented; returns DIERR_UNSUPPORTED.
HRESULT Unsupported(const char* method, std::int32_t device);

// Copies a zero-terminated text into a fixed buffer, truncating at its size.
void CopyText(char* target, std::size_t targetSize, const char* source);

}  // namespace vpad::dll
