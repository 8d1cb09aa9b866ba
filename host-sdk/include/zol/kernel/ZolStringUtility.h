// Conversions between the kernel's text types, on ICU.
//
//   const auto& strings = Zol::baseStringUtilityInstance_24_8();
//   std::string utf8 = strings.stringFromUString(name, true);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <unicode/unistr.h>

#include "zol/kernel/ZolKernelExport.h"

namespace Zol {

/// ICU converts with 32-bit lengths. Longer texts are converted in chunks of
/// this many code units (a surrogate pair is never split), so no result is cut.
inline constexpr std::int32_t kConversionChunkUnits = 1 << 24;

class ZOL_KERNEL_EXPORT ZolBaseStringUtility_24_8 {
 public:
  /// `text` as UTF-8 when `utf8` is set, else in the platform's default
  /// code page (characters it cannot represent become its substitute).
  /// Throws Zol::ZolSystemException_24 (kTextTooLong) when the code page
  /// conversion fails.
  std::string stringFromUString(const icu::UnicodeString& text, bool utf8) const;
  /// UTF-8 `text` as Unicode; ill-formed bytes become U+FFFD. Throws
  /// Zol::ZolSystemException_24 (kTextTooLong) for 2^31 bytes or more, which
  /// a Unicode string cannot hold.
  icu::UnicodeString ustringFromString(std::string_view text) const;
  /// `text` as a wide string, embedded NULs kept: UTF-16 where wchar_t has
  /// 16 bits (Windows), its code units copied as they are, an unpaired
  /// surrogate included; UTF-32 where it has 32 bits, an unpaired surrogate
  /// becoming U+FFFD. Empty when ICU fails.
  std::wstring wstringFromUString(const icu::UnicodeString& text) const;
  /// True for "true", "yes", "on" and "1" in any letter case, ignoring
  /// surrounding white space; false for everything else.
  bool stringToBool(std::string_view text) const;
};

/// The kernel's string utility.
ZOL_KERNEL_EXPORT const ZolBaseStringUtility_24_8& baseStringUtilityInstance_24_8();

}  // namespace Zol
