#pragma once
// Registry values that a Windows test writes for itself in the test prefix and puts back when it
// ends.
#include <windows.h>

#include <string>
#include <utility>

namespace test_support {

// Writes a value under HKEY_LOCAL_MACHINE with exactly these bytes and this type, creating the
// key. False when the registry refused.
[[nodiscard]] inline bool SetMachineValue(const std::string& subKey, const std::string& name,
                                          DWORD type, const std::string& bytes) {
  return RegSetKeyValueA(HKEY_LOCAL_MACHINE, subKey.c_str(), name.c_str(), type, bytes.data(),
                         static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

inline void DeleteMachineValue(const std::string& subKey, const std::string& name) {
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, subKey.c_str(), name.c_str());
}

// Deletes the key and everything under it; a missing key is fine.
inline void DeleteMachineKey(const std::string& subKey) {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, subKey.c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, subKey.c_str());
}

// A value of HKEY_LOCAL_MACHINE as it stood when the test began, put back when it ends. When the
// outer key `owner` (a prefix of the value's key) did not exist, the test brought it into being
// and its whole tree goes; otherwise the value is restored with its type and bytes, or removed.
class MachineValueGuard {
 public:
  MachineValueGuard(std::string owner, std::string subKey, std::string name)
      : owner_(std::move(owner)), subKey_(std::move(subKey)), name_(std::move(name)) {
    const auto open = [](const std::string& subKey, HKEY* key) {
      return RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ, key) == ERROR_SUCCESS;
    };
    HKEY key = nullptr;
    ownerExisted_ = open(owner_, &key);
    if (ownerExisted_) RegCloseKey(key);
    if (!ownerExisted_ || !open(subKey_, &key)) return;
    const auto query = [&](BYTE* data, DWORD* size) {
      return RegQueryValueExA(key, name_.c_str(), nullptr, &type_, data, size) == ERROR_SUCCESS;
    };
    DWORD size = 0;
    if (query(nullptr, &size)) {
      bytes_.resize(size);
      valueExisted_ = query(reinterpret_cast<BYTE*>(bytes_.data()), &size);
      bytes_.resize(size);
    }
    RegCloseKey(key);
  }
  MachineValueGuard(const MachineValueGuard&) = delete;
  MachineValueGuard& operator=(const MachineValueGuard&) = delete;
  ~MachineValueGuard() {
    if (!ownerExisted_) {
      DeleteMachineKey(owner_);
    } else if (valueExisted_) {
      (void)SetMachineValue(subKey_, name_, type_, bytes_);
    } else {
      DeleteMachineValue(subKey_, name_);
    }
  }

 private:
  std::string owner_, subKey_, name_, bytes_;
  bool ownerExisted_ = false, valueExisted_ = false;
  DWORD type_ = 0;
};

}  // namespace test_support
