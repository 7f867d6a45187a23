#pragma once
// Registry values that a Windows test writes for itself in the test prefix and puts back when it
// ends. They go where the game's 32-bit setup writes on 64-bit Windows and in a 64-bit Wine
// prefix: the registry's 32-bit view (Software\Wow6432Node), unless a test asks for the other.
#include <windows.h>

#include <string>
#include <utility>

#include "game/GameRegistration.h"

// The game's registration, as the registry functions below take it.
inline const std::string kGamesKey{kGamesRegistryKey};
inline const std::string kGameKey{kGameRegistryKey};
inline const std::string kAppPath{kGameFolderValue};
// Where Windows' policies switch UAC and its per-user copies on and off (Wine's prefix has UAC
// off).
inline const std::string kSystemPolicyKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

namespace test_support {

// The registry view a value is written in: the 32-bit setup's, or a 64-bit program's.
constexpr REGSAM kSetupView = KEY_WOW64_32KEY;
constexpr REGSAM kNativeView = KEY_WOW64_64KEY;

// Writes a value under HKEY_LOCAL_MACHINE with exactly these bytes and this type, creating the
// key. False when the registry refused.
[[nodiscard]] inline bool SetMachineValue(const std::string& subKey, const std::string& name,
                                          DWORD type, const std::string& bytes,
                                          REGSAM view = kSetupView) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool set =
      RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
  RegCloseKey(key);
  return set;
}

// A REG_DWORD value, as the policies and flags are kept.
[[nodiscard]] inline bool SetMachineDword(const std::string& subKey, const std::string& name,
                                          DWORD value, REGSAM view = kSetupView) {
  return SetMachineValue(subKey, name, REG_DWORD,
                         std::string(reinterpret_cast<const char*>(&value), sizeof value), view);
}

// Writes a REG_SZ text as the registry keeps it, in UTF-16 and with its NUL, as a setup running
// in any language writes a folder the ANSI code page may not hold; under HKEY_CURRENT_USER too,
// as Steam keeps its folder for the user.
[[nodiscard]] inline bool SetMachineText(const std::string& subKey, const std::string& name,
                                         const std::wstring& text, HKEY root = HKEY_LOCAL_MACHINE) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | kSetupView, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring wideName(name.begin(), name.end());  // the value names are ASCII
  const auto size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  const bool set =
      RegSetValueExW(key, wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return set;
}

inline void DeleteMachineValue(const std::string& subKey, const std::string& name,
                               REGSAM view = kSetupView) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_SET_VALUE | view, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
}

// Deletes the key and everything under it; a missing key is fine.
inline void DeleteMachineKey(const std::string& subKey, REGSAM view = kSetupView) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_ALL_ACCESS | view, &key) ==
      ERROR_SUCCESS) {
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
  }
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), view, 0);
}

// A value of HKEY_LOCAL_MACHINE as it stood when the test began, put back when it ends. When the
// outer key `owner` (a prefix of the value's key) did not exist, the test brought it into being
// and its whole tree goes; otherwise the value is restored with its type and bytes, or removed.
class MachineValueGuard {
 public:
  MachineValueGuard(std::string owner, std::string subKey, std::string name,
                    REGSAM view = kSetupView)
      : owner_(std::move(owner)), subKey_(std::move(subKey)), name_(std::move(name)), view_(view) {
    const auto open = [this](const std::string& subKey, HKEY* key) {
      return RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ | view_, key) ==
             ERROR_SUCCESS;
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
      DeleteMachineKey(owner_, view_);
    } else if (valueExisted_) {
      (void)SetMachineValue(subKey_, name_, type_, bytes_, view_);
    } else {
      DeleteMachineValue(subKey_, name_, view_);
    }
  }

 private:
  std::string owner_, subKey_, name_, bytes_;
  REGSAM view_;
  bool ownerExisted_ = false, valueExisted_ = false;
  DWORD type_ = 0;
};

// Steam's keys, for the user (HKEY_CURRENT_USER\Software\Valve) and for the machine (in the 32-bit
// view, where its setup writes), removed when the test ends; the test prefix has no Steam.
inline const std::string kSteamKey = "Software\\Valve\\Steam";
class SteamKeysGuard {
 public:
  SteamKeysGuard() { Remove(); }
  SteamKeysGuard(const SteamKeysGuard&) = delete;
  SteamKeysGuard& operator=(const SteamKeysGuard&) = delete;
  ~SteamKeysGuard() { Remove(); }
  static void Remove() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Valve");
    DeleteMachineKey(kSteamKey);
    DeleteMachineKey("Software\\Valve");
  }
};

}  // namespace test_support
