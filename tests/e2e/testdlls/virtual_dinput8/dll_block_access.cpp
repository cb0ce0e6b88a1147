// Connection to the driver's shared block (file mapping and mutex named in
// virtual_pad_block.h) and the bookkeeping every call does.
#include "dll_block_access.h"

#include <cstring>

namespace vpad::dll {
namespace {

constexpr DWORD kLockTimeoutMs = 5000;

// Process-wide: the one view of the block this process has.
HANDLE g_mapping = nullptr;
HANDLE g_mutex = nullptr;
Block* g_block = nullptr;

bool HeaderMatches(const Block& block) {
  return block.magic == kBlockMagic && block.version == kBlockVersion &&
         block.size == sizeof(Block);
}

bool WaitForMutex(HANDLE mutex) {
  // An abandoned mutex (a driver or program that died holding it) is ours now.
  const DWORD wait = WaitForSingleObject(mutex, kLockTimeoutMs);
  if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return true;
  OutputDebugStringA("virtual dinput8: timed out waiting for the block's mutex\n");
  return false;
}

}  // namespace

bool Connect() {
  if (g_block != nullptr) return true;
  g_mapping = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, kBlockName);
  if (g_mapping == nullptr) {
    OutputDebugStringA("virtual dinput8: no control block; the driver has not created it\n");
    return false;
  }
  g_mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kMutexName);
  void* view = MapViewOfFile(g_mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(Block));
  if (g_mutex == nullptr || view == nullptr) {
    if (view != nullptr) UnmapViewOfFile(view);
    Disconnect();
    return false;
  }
  auto* block = static_cast<Block*>(view);
  bool matches = false;
  if (WaitForMutex(g_mutex)) {
    matches = HeaderMatches(*block);
    ReleaseMutex(g_mutex);
  }
  if (!matches) {
    OutputDebugStringA("virtual dinput8: control block of another layout version\n");
    UnmapViewOfFile(view);
    Disconnect();
    return false;
  }
  g_block = block;
  return true;
}

void Disconnect() {
  if (g_block != nullptr) UnmapViewOfFile(g_block);
  g_block = nullptr;
  if (g_mutex != nullptr) CloseHandle(g_mutex);
  g_mutex = nullptr;
  if (g_mapping != nullptr) CloseHandle(g_mapping);
  g_mapping = nullptr;
}

BlockLock::BlockLock() {
  if (g_block != nullptr && WaitForMutex(g_mutex)) block_ = g_block;
}

BlockLock::~BlockLock() { Unlock(); }

void BlockLock::Unlock() {
  if (block_ == nullptr) return;
  block_ = nullptr;
  ReleaseMutex(g_mutex);
}

CallScope BeginCall(Block& block, Call call, std::int32_t device) {
  const auto index = static_cast<std::uint32_t>(call);
  ++block.sequence;
  ++block.record.calls[index];
  CallScope scope{block.record.callLogCount++, false, DI_OK};
  if (scope.logIndex < kMaxCallLog) {
    block.record.callLog[scope.logIndex] = CallLogEntry{index, device, DI_OK, block.sequence};
  }
  ForcedResult& forced = block.forced[index];
  if (forced.remaining > 0) {
    if (forced.remaining != kForever) --forced.remaining;
    scope.forced = true;
    scope.forcedResult = forced.result;
  }
  return scope;
}

HRESULT EndCall(Block& block, const CallScope& scope, HRESULT own) {
  HRESULT result = own;
  if (scope.forced && (FAILED(scope.forcedResult) || SUCCEEDED(own))) result = scope.forcedResult;
  if (scope.logIndex < kMaxCallLog) block.record.callLog[scope.logIndex].result = result;
  return result;
}

HRESULT Unsupported(const char* method, std::int32_t device) {
  BlockLock lock;
  if (!lock) return DIERR_UNSUPPORTED;
  const CallScope scope = BeginCall(*lock, Call::Unsupported, device);
  CopyText(lock->record.lastUnsupported, sizeof lock->record.lastUnsupported, method);
  return EndCall(*lock, scope, DIERR_UNSUPPORTED);
}

void CopyText(char* target, std::size_t targetSize, const char* source) {
  if (targetSize == 0) return;
  std::size_t length = 0;
  if (source != nullptr) {
    while (length + 1 < targetSize && source[length] != '\0') ++length;
    std::memcpy(target, source, length);
  }
  target[length] = '\0';
}

}  // namespace vpad::dll
