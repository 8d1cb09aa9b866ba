// A module loaded at run time as the host loads a plug-in, for the tests that
// watch the library load and unload with it: dlopen and dlclose, or on
// Windows LoadLibraryW and FreeLibrary.
//
//   testing_support::Module probe(PROBE_PLUGIN_PATH);
//   ASSERT_TRUE(probe.loaded()) << probe.error();
//   const auto lookUp = probe.entry<int (*)()>("probeLookUp");
//   EXPECT_TRUE(probe.close()) << probe.error();
//   EXPECT_FALSE(testing_support::moduleLoaded(WYRDAN_LIBRARY_SONAME));
#pragma once

#include <string>

#if defined(_WIN32)
#include <windows.h>

#include "zol/kernel/ZolStringUtility.h"
#else
#include <dlfcn.h>
#endif

namespace testing_support {

/// Whether a module loaded under the file name `name` (the library's SONAME,
/// or its DLL's name) is in the process.
inline bool moduleLoaded(const char* name);

/// The module at `path`, loaded at construction; closed at destruction
/// unless close() closed it.
class Module {
 public:
  explicit Module(const char* path);
  ~Module() { close(); }
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  /// Why the last load or close failed.
  const std::string& error() const { return error_; }

  /// The function the module exports as `name`; null when it exports none.
  template <class Fn>
  Fn entry(const char* name) const {
    return reinterpret_cast<Fn>(address(name));
  }

  /// Releases the module; false, with error() set, when the system refused.
  /// True when it was not loaded.
  bool close();

 private:
  void* address(const char* name) const;

  void* handle_ = nullptr;
  std::string error_;
};

#if defined(_WIN32)

namespace detail {

inline std::wstring wide(const std::string& text) {
  const Zol::ZolBaseStringUtility_24_8& strings = Zol::baseStringUtilityInstance_24_8();
  return strings.wstringFromUString(strings.ustringFromString(text));
}

inline std::string lastError(const char* what) {
  const DWORD code = GetLastError();
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                 nullptr);
  return std::string(what) + ": error " + std::to_string(code) + " " + text;
}

}  // namespace detail

inline bool moduleLoaded(const char* name) { return GetModuleHandleW(detail::wide(name).c_str()) != nullptr; }

// The system's loader takes backslashes only; CMake writes paths with slashes.
inline Module::Module(const char* path) {
  std::string native(path);
  for (char& c : native) {
    if (c == '/') c = '\\';
  }
  handle_ = LoadLibraryW(detail::wide(native).c_str());
  if (handle_ == nullptr) error_ = detail::lastError(path);
}

inline bool Module::close() {
  if (handle_ == nullptr) return true;
  const bool closed = FreeLibrary(static_cast<HMODULE>(handle_)) != 0;
  if (!closed) error_ = detail::lastError("FreeLibrary");
  handle_ = nullptr;
  return closed;
}

inline void* Module::address(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

#else

inline bool moduleLoaded(const char* name) {
  void* handle = dlopen(name, RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}

inline Module::Module(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
  if (handle_ == nullptr) error_ = dlerror();
}

inline bool Module::close() {
  if (handle_ == nullptr) return true;
  const bool closed = dlclose(handle_) == 0;
  if (!closed) error_ = dlerror();
  handle_ = nullptr;
  return closed;
}

inline void* Module::address(const char* name) const { return dlsym(handle_, name); }

#endif

}  // namespace testing_support
