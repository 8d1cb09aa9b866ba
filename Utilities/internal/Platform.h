// The operating system's services the library uses, each behind one small
// function with a POSIX and a Windows form (Platform.cpp includes the one
// for the target), so that no class holds platform conditionals.
//
//   const std::tm local = internal::localTime(std::time(nullptr));
//   internal::lockStream(stdout); internal::writeUnlocked(text, size, stdout); internal::unlockStream(stdout);
#pragma once

#include <cstddef>
#include <cstdio>
#include <ctime>

namespace kyr::orla::plugin::wyrdan::internal {

/// The local calendar time at `time`; all fields zero when the system
/// cannot convert it. Thread-safe.
std::tm localTime(std::time_t time) noexcept;

/// Takes `stream`'s lock for the calling thread, so that the unlocked
/// writes below form one piece of output; unlockStream releases it.
void lockStream(std::FILE* stream) noexcept;
void unlockStream(std::FILE* stream) noexcept;

/// Writes `size` bytes, or one character, to `stream`, whose lock the
/// caller holds.
void writeUnlocked(const char* data, std::size_t size, std::FILE* stream) noexcept;
void putUnlocked(char character, std::FILE* stream) noexcept;

/// The value of the environment variable `name`; null when it is not set.
const char* environmentValue(const char* name) noexcept;

/// Sends `text` to the platform's debugger output (OutputDebugStringA).
void writeToDebugger(const char* text) noexcept;

}  // namespace kyr::orla::plugin::wyrdan::internal
