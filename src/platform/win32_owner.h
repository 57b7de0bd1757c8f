#pragma once

#include <windows.h>

#include <utility>

// One move-only owner for every kind of Win32 resource: a traits type says what the
// resource is, which value means "none" and how it is released. The owner never converts
// to the raw value on its own; get() is explicit.
template <typename Traits>
class Win32Owner {
 public:
  using Value = typename Traits::Value;

  Win32Owner() = default;
  explicit Win32Owner(Value value) : value_(value) {}
  ~Win32Owner() { reset(); }

  Win32Owner(const Win32Owner&) = delete;
  Win32Owner& operator=(const Win32Owner&) = delete;
  Win32Owner(Win32Owner&& other) noexcept : value_(std::exchange(other.value_, Traits::none())) {}
  Win32Owner& operator=(Win32Owner&& other) noexcept {
    if (this != &other) {
      reset();
      value_ = std::exchange(other.value_, Traits::none());
    }
    return *this;
  }

  Value get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::none(); }

  void reset() {
    if (value_ != Traits::none()) Traits::release(value_);
    value_ = Traits::none();
  }

 private:
  Value value_ = Traits::none();
};

struct FindSearchTraits {
  using Value = HANDLE;
  static Value none() { return INVALID_HANDLE_VALUE; }
  static void release(Value search) { FindClose(search); }
};
using FindSearch = Win32Owner<FindSearchTraits>;

struct LibraryTraits {
  using Value = HMODULE;
  static Value none() { return nullptr; }
  static void release(Value module) { FreeLibrary(module); }
};
using Library = Win32Owner<LibraryTraits>;

// Loads a DLL of the system by name from the system folder only, never from the program's
// own folder or the current one, where a planted DLL would run with the program's rights.
Library loadSystemLibrary(const char* name);

// The same by the DLL's full path in the system folder, for systems whose loader does not
// know LOAD_LIBRARY_SEARCH_SYSTEM32 (Windows 7 without its update).
Library loadFromSystemFolder(const char* name);

// An entry point of `module` with the type of its SDK declaration, so the calling
// convention of the 32-bit build always matches: procAddress<decltype(&::Name)>(...).
template <typename Function>
Function procAddress(HMODULE module, const char* name) {
  const FARPROC address = GetProcAddress(module, name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

template <typename Function>
Function procAddress(const Library& library, const char* name) {
  return procAddress<Function>(library.get(), name);
}
