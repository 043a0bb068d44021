#pragma once
// One running program per user: a lock on a file in the user's runtime
// folder, released by the system however the program ends.
#include <string>

class InstanceLock {
 public:
  // Default path: $XDG_RUNTIME_DIR/talvero3.lock, else /tmp/talvero3-<uid>.lock.
  explicit InstanceLock(std::string path = DefaultPath());
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // False when another instance holds the lock.
  bool Acquire();
  void Release();
  bool Held() const { return fd_ >= 0; }
  static std::string DefaultPath();

 private:
  std::string path_;
  int fd_ = -1;
};
