// The built tessivane.exe as a player gets it, read from its bytes and its version information.
#include "tools/ExeChecks.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/ProgramIdentity.h"

namespace {

int failures = 0;

// A text value of the version information's US English block, or "" when there is none.
std::string VersionText(std::string& block, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
  if (VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ==
          FALSE ||
      value == nullptr) {
    return "";
  }
  return value;
}

}  // namespace

void CheckVersion(const std::string& exe) {
  unsigned major = 0, minor = 0, patch = 0;
  char rest = 0;
  const bool parsed =
      std::sscanf(TESS_EXPECTED_VERSION, "%u.%u.%u%c", &major, &minor, &patch, &rest) == 3;
  Check(parsed, "the project's version " TESS_EXPECTED_VERSION " is MAJOR.MINOR.PATCH");

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  std::string block(size, '\0');
  const bool loaded = size != 0 && GetFileVersionInfoA(exe.c_str(), 0, size, block.data()) != FALSE;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  const bool hasFixed =
      loaded &&
      VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) != FALSE &&
      fixed != nullptr && length >= sizeof *fixed;
  const DWORD high = MAKELONG(minor, major);
  const DWORD low = MAKELONG(0, patch);
  auto text = [](DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
  };
  const std::string found = hasFixed
                                ? text(fixed->dwFileVersionMS, fixed->dwFileVersionLS) + " and " +
                                      text(fixed->dwProductVersionMS, fixed->dwProductVersionLS)
                                : "none";
  Check(hasFixed && fixed->dwFileVersionMS == high && fixed->dwFileVersionLS == low &&
            fixed->dwProductVersionMS == high && fixed->dwProductVersionLS == low,
        "tessivane.exe: FILEVERSION and PRODUCTVERSION are " + text(high, low) + " (they are " +
            found + ")");
  for (const char* name : {"FileVersion", "ProductVersion"}) {
    const std::string value = loaded ? VersionText(block, name) : "";
    Check(value == TESS_EXPECTED_VERSION, std::string("tessivane.exe: ") + name + " is \"" +
                                              TESS_EXPECTED_VERSION + "\" (it is \"" + value +
                                              "\")");
  }
  Check(loaded && VersionText(block, "ProductName") == kProgramCaption &&
            VersionText(block, "OriginalFilename") == "tessivane.exe",
        "tessivane.exe: version information names the product and tessivane.exe");
}

namespace {

// What a player downloads: the 8-bit background, the code optimised for size and stripped. About
// 110 KiB of it is the C++ library's own exception support (its demangling terminate handler, the
// printf that needs, the string of its exception classes) and about 90 KiB the bringing in of
// downloaded scenarios (zlib, the zip reader, the drop target).
constexpr size_t kExeSizeLimit = 640 * 1024;

// The DLLs that every Windows 10 has and that tessivane.exe may import. Anything else
// (libstdc++-6.dll, libwinpthread-1.dll, a DLL of our own) would have to ship beside it.
const char* const kSystemDlls[] = {"ADVAPI32.dll", "GDI32.dll",    "KERNEL32.dll", "msvcrt.dll",
                                   "ole32.dll",    "OLEAUT32.dll", "SHELL32.dll",  "USER32.dll"};

// Copies a structure out of the file's bytes; false when it does not lie wholly inside them.
template <typename T>
bool ReadAt(const std::string& file, size_t offset, T& out) {
  if (offset > file.size() || sizeof out > file.size() - offset) {
    return false;
  }
  std::memcpy(&out, file.data() + offset, sizeof out);
  return true;
}

// What a PE file says about itself, read from its bytes: machine, subsystem, and the DLL names of
// its import table (mingw's linker leaves the delay-import directory empty). `error` says what
// was malformed.
struct PeFacts {
  WORD machine = 0;
  WORD subsystem = 0;
  WORD dllCharacteristics = 0;
  DWORD relocationBytes = 0;
  std::vector<std::string> dlls;
  std::string error;
};

PeFacts ReadPeFacts(const std::string& file) {
  PeFacts facts;
  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS64 nt{};
  if (!ReadAt(file, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
      !ReadAt(file, static_cast<size_t>(dos.e_lfanew), nt) || nt.Signature != IMAGE_NT_SIGNATURE ||
      nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    facts.error = "not a 64-bit PE file";
    return facts;
  }
  facts.machine = nt.FileHeader.Machine;
  facts.subsystem = nt.OptionalHeader.Subsystem;
  facts.dllCharacteristics = nt.OptionalHeader.DllCharacteristics;
  facts.relocationBytes = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size;

  const size_t sectionTable = static_cast<size_t>(dos.e_lfanew) + sizeof nt.Signature +
                              sizeof nt.FileHeader + nt.FileHeader.SizeOfOptionalHeader;
  std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
  for (size_t i = 0; i < sections.size(); ++i) {
    if (!ReadAt(file, sectionTable + i * sizeof(IMAGE_SECTION_HEADER), sections[i])) {
      facts.error = "section table cut short";
      return facts;
    }
  }
  // A relative virtual address as an offset into the file; 0 when no section's bytes in the
  // file hold it.
  auto offsetOf = [&](DWORD rva) -> size_t {
    for (const IMAGE_SECTION_HEADER& section : sections) {
      if (rva >= section.VirtualAddress && rva - section.VirtualAddress < section.SizeOfRawData) {
        return size_t{section.PointerToRawData} + (rva - section.VirtualAddress);
      }
    }
    return 0;
  };
  auto addName = [&](DWORD rva) {
    const size_t at = offsetOf(rva);
    const size_t end = at == 0 ? std::string::npos : file.find('\0', at);
    if (end == std::string::npos) {
      facts.error = "a DLL name outside the file";
      return false;
    }
    facts.dlls.push_back(file.substr(at, end - at));
    return true;
  };

  // The import table: one descriptor for each DLL, up to one whose name is 0.
  const IMAGE_DATA_DIRECTORY& imports =
      nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) {
    return facts;
  }
  IMAGE_IMPORT_DESCRIPTOR entry{};
  for (size_t at = offsetOf(imports.VirtualAddress);; at += sizeof entry) {
    if (at == 0 || !ReadAt(file, at, entry)) {
      facts.error = "the import table lies outside the file";
      break;
    }
    if (entry.Name == 0 || !addName(entry.Name)) {
      break;
    }
  }
  return facts;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

void CheckImports(const std::string& exe) {
  const PeFacts facts = ReadPeFacts(FileBytes(exe));
  Check(facts.error.empty() && facts.machine == IMAGE_FILE_MACHINE_AMD64 &&
            facts.subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI,
        "tessivane.exe is a 64-bit Windows program" +
            (facts.error.empty() ? std::string() : " (" + facts.error + ")"));
  std::string all;
  std::string foreign;
  for (const std::string& dll : facts.dlls) {
    all += (all.empty() ? "" : ", ") + dll;
    bool known = false;
    for (const char* system : kSystemDlls) {
      known = known || _stricmp(dll.c_str(), system) == 0;
    }
    if (!known) {
      foreign += " " + dll;
    }
  }
  Check(facts.error.empty() && !facts.dlls.empty() && foreign.empty(),
        "tessivane.exe imports only DLLs of Windows itself (" + all + ")" +
            (foreign.empty() ? std::string() : "; not part of Windows:" + foreign));
}

void CheckHardening(const std::string& exe) {
  const std::string file = FileBytes(exe);
  const PeFacts facts = ReadPeFacts(file);
  struct Flag {
    WORD bit;
    const char* name;
  };
  const Flag kRequired[] = {
      {IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, "DYNAMIC_BASE"},
      {IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, "HIGH_ENTROPY_VA"},
      {IMAGE_DLLCHARACTERISTICS_NX_COMPAT, "NX_COMPAT"},
      {IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE, "TERMINAL_SERVER_AWARE"},
  };
  char value[8];
  std::snprintf(value, sizeof value, "0x%04X", facts.dllCharacteristics);
  for (const Flag& flag : kRequired) {
    Check(facts.error.empty() && (facts.dllCharacteristics & flag.bit) != 0,
          std::string("tessivane.exe: DllCharacteristics has ") + flag.name + " (they are " +
              value + ")");
  }
  // Without base relocations Windows cannot move the image, whatever DYNAMIC_BASE says.
  Check(facts.relocationBytes != 0, "tessivane.exe carries base relocations, so it can be moved (" +
                                        std::to_string(facts.relocationBytes) + " bytes)");
  // The handler that a smashed stack canary calls is linked in only when compiled code checks
  // a canary; its message is the one trace of it left in a stripped exe.
  Check(file.find("stack smashing detected") != std::string::npos,
        "tessivane.exe checks stack canaries (the stack protector's handler is linked in)");
  Check(file.size() <= kExeSizeLimit, "tessivane.exe is at most " +
                                          std::to_string(kExeSizeLimit / 1024) + " KiB (it is " +
                                          std::to_string(file.size()) + " bytes)");
}

void CheckManifestVersion(const std::string& exe) {
  std::string text;
  HMODULE image = LoadLibraryExA(exe.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (image != nullptr) {
    HRSRC manifest = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = manifest != nullptr ? LoadResource(image, manifest) : nullptr;
    if (loaded != nullptr) {
      text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(image, manifest));
    }
    FreeLibrary(image);
  }
  // The program's own identity, the first element that names it: its version attribute.
  const std::string expected = TESS_EXPECTED_VERSION ".0";
  const size_t name = text.find("name=\"Pelrith.Tessivane\"");
  const size_t end = text.find("/>", name);
  const size_t version = text.find("version=\"", name);
  std::string found;
  if (name != std::string::npos && version < end) {
    const size_t start = version + std::strlen("version=\"");
    found = text.substr(start, text.find('"', start) - start);
  }
  Check(found == expected, "tessivane.exe: the manifest's assembly version is " + expected +
                               " (it is \"" + found + "\")");
}

void Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) {
    ++failures;
  }
}

int CheckFailures() { return failures; }
