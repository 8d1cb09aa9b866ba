#include "zol/kernel/ZolStringUtility.h"

#include <algorithm>
#include <limits>
#include <new>

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include "zol/kernel/ZolException.h"

namespace Zol {

namespace {

constexpr UChar32 kReplacementCharacter = 0xfffd;

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n\f\v";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

[[noreturn]] void throwTextTooLong(const char* conversion) {
  ZolSystemException_24(kTextTooLong, std::string(conversion) + ": text of 2^31 bytes or more").throwit("ZolException");
}

// One chunk (at most kConversionChunkUnits units plus a trailing surrogate)
// in the default code page; characters it cannot represent become its
// substitute.
void appendInDefaultCodePage(const icu::UnicodeString& chunk, std::string& out) {
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t length = chunk.extract(nullptr, 0, nullptr, status);
  if (length <= 0) return;
  const std::size_t offset = out.size();
  out.resize(offset + static_cast<std::size_t>(length));
  status = U_ZERO_ERROR;
  chunk.extract(out.data() + offset, length, nullptr, status);
  if (U_FAILURE(status)) {
    ZolSystemException_24(kTextTooLong, std::string("stringFromUString: ") + u_errorName(status))
        .throwit("ZolException");
  }
}

}  // namespace

std::string ZolBaseStringUtility_24_8::stringFromUString(const icu::UnicodeString& text, bool utf8) const {
  std::string result;
  const std::int32_t length = text.length();
  for (std::int32_t start = 0; start < length;) {
    std::int32_t end = start + std::min(length - start, kConversionChunkUnits);
    // A surrogate pair stays in one chunk.
    if (end < length && U16_IS_LEAD(text.charAt(end - 1)) && U16_IS_TRAIL(text.charAt(end))) ++end;
    const icu::UnicodeString chunk = text.tempSubStringBetween(start, end);
    if (utf8) {
      chunk.toUTF8String(result);
    } else {
      appendInDefaultCodePage(chunk, result);
    }
    start = end;
  }
  return result;
}

icu::UnicodeString ZolBaseStringUtility_24_8::ustringFromString(std::string_view text) const {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throwTextTooLong("ustringFromString");
  }
  return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())));
}

std::wstring ZolBaseStringUtility_24_8::wstringFromUString(const icu::UnicodeString& text) const {
  std::wstring result;
  if (text.isEmpty()) return result;
  UErrorCode status = U_ZERO_ERROR;
  std::int32_t length = 0;
  if constexpr (sizeof(wchar_t) == sizeof(UChar)) {
    // UTF-16 (Windows): ICU copies the code units as they are.
    u_strToWCS(nullptr, 0, &length, text.getBuffer(), text.length(), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return result;
    result.resize(static_cast<std::size_t>(length));
    status = U_ZERO_ERROR;
    u_strToWCS(result.data(), length, nullptr, text.getBuffer(), text.length(), &status);
  } else {
    // UTF-32: a surrogate without its pair has no code point of its own.
    u_strToUTF32WithSub(nullptr, 0, &length, text.getBuffer(), text.length(), kReplacementCharacter, nullptr, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return result;
    result.resize(static_cast<std::size_t>(length));
    status = U_ZERO_ERROR;
    u_strToUTF32WithSub(reinterpret_cast<UChar32*>(result.data()), length, nullptr, text.getBuffer(), text.length(),
                        kReplacementCharacter, nullptr, &status);
  }
  if (U_FAILURE(status)) result.clear();
  return result;
}

bool ZolBaseStringUtility_24_8::stringToBool(std::string_view text) const {
  const icu::UnicodeString value = ustringFromString(trimmed(text));
  for (const char* truth : {"true", "yes", "on", "1"}) {
    if (value.caseCompare(icu::UnicodeString(truth, -1, US_INV), U_FOLD_CASE_DEFAULT) == 0) return true;
  }
  return false;
}

const ZolBaseStringUtility_24_8& baseStringUtilityInstance_24_8() {
  static const ZolBaseStringUtility_24_8 instance;
  return instance;
}

}  // namespace Zol
