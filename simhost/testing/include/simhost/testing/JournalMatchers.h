/// \file
/// gMock matchers over the host's call journal: whether a call was made, how
/// many times, never, or several in an order. Each takes CallPattern, so a
/// test names calls by interface descriptor, operation, object and typed
/// arguments, and each matches a CallJournal (host.journal()) or a
/// std::vector<HostCall> (a snapshot, or CallJournal::calls(pattern)). A
/// failure says which pattern was not found (and, for an order, after which
/// call) and lists the journal's calls, numbered from 1.
///
/// \code
///   using simhost::CallPattern;
///   using Processor = kyr::orla::appfw::ICmdProcessorInterface;
///   using Command = kyr::orla::appfw::ICmdCommandInterface;
///   const auto create = CallPattern::of<Processor>("createCommand").with("KYR.CorePlugin", "ModifyObjects");
///   const auto execute = CallPattern::of<Command>("execute");
///
///   EXPECT_THAT(host.journal(), simhost::testing::HasCall(create));
///   EXPECT_THAT(host.journal(), simhost::testing::CallCount(execute, 1));
///   EXPECT_THAT(host.journal(), simhost::testing::CallsInOrder({create, execute}));
///   EXPECT_THAT(host.journal(), simhost::testing::NoCall(CallPattern::of<kyr::orla::appfw::IEntityInterface>()));
/// \endcode
///
/// The matchers are plain values: any thread may use one. Matching a
/// CallJournal reads a snapshot of it (CallJournal::calls).
#pragma once

#include <cstddef>
#include <ostream>
#include <vector>

#include <gmock/gmock.h>

#include "simhost/testbed/CallJournal.h"
#include "simhost/testing/SimHostGTestExport.h"

namespace simhost {

/// \addtogroup simhost_gtest
/// @{

/// Prints `call` as HostCall::toString() does, for GoogleTest's messages.
SIMHOST_GTEST_EXPORT void PrintTo(const HostCall& call, std::ostream* os);
/// Prints `pattern` as CallPattern::toString() does, for GoogleTest's messages.
SIMHOST_GTEST_EXPORT void PrintTo(const CallPattern& pattern, std::ostream* os);
/// Prints "the call journal (<n> calls)" for GoogleTest's messages; the
/// matchers' explanations list the calls themselves.
SIMHOST_GTEST_EXPORT void PrintTo(const CallJournal& journal, std::ostream* os);

/// @}

namespace testing {

/// \addtogroup simhost_gtest
/// @{

/// The matcher behind HasCall, NoCall, CallCount and CallsInOrder, in the
/// form gMock's MakePolymorphicMatcher takes: it matches a CallJournal
/// and a std::vector<HostCall>. Tests make one through those functions.
///
/// \par Threads and exceptions
/// A plain value: any thread may use it; matching a CallJournal reads a
/// snapshot of it. Its members throw nothing but std::bad_alloc.
class SIMHOST_GTEST_EXPORT JournalMatcher {
 public:
  /// True when the calls of `journal` (a CallJournal or a
  /// std::vector<HostCall>) satisfy the matcher; explains why, or why not,
  /// to `listener` when it is interested.
  template <class Journal>
  bool MatchAndExplain(const Journal& journal, ::testing::MatchResultListener* listener) const {
    return matchCalls(callsOf(journal), listener);
  }
  /// Writes what a matching journal has.
  void DescribeTo(std::ostream* os) const;
  /// Writes what a journal the matcher rejects has.
  void DescribeNegationTo(std::ostream* os) const;

  /// MatchAndExplain over the calls themselves, oldest first.
  bool matchCalls(const std::vector<HostCall>& calls, ::testing::MatchResultListener* listener) const;

 private:
  enum class Kind { Any, None, Count, Order };

  JournalMatcher(Kind kind, std::vector<CallPattern> patterns, ::testing::Matcher<std::size_t> count);

  static std::vector<HostCall> callsOf(const CallJournal& journal) { return journal.calls(); }
  static const std::vector<HostCall>& callsOf(const std::vector<HostCall>& calls) { return calls; }

  /// DescribeTo, or with `negated` DescribeNegationTo.
  void describe(std::ostream* os, bool negated) const;
  bool matchOne(const std::vector<HostCall>& calls, ::testing::MatchResultListener* listener) const;
  bool matchOrder(const std::vector<HostCall>& calls, ::testing::MatchResultListener* listener) const;

  // Declared exported after the class: gcc for Windows drops the DLL import
  // of a function declared a friend after it.
  friend ::testing::PolymorphicMatcher<JournalMatcher> HasCall(const CallPattern& pattern);
  friend ::testing::PolymorphicMatcher<JournalMatcher> NoCall(const CallPattern& pattern);
  friend ::testing::PolymorphicMatcher<JournalMatcher> CallCount(const CallPattern& pattern,
                                                                 ::testing::Matcher<std::size_t> count);
  friend ::testing::PolymorphicMatcher<JournalMatcher> CallsInOrder(std::vector<CallPattern> patterns);

  Kind kind_;
  std::vector<CallPattern> patterns_;
  ::testing::Matcher<std::size_t> count_;
};

/// Matches a journal with at least one call `pattern` matches.
SIMHOST_GTEST_EXPORT ::testing::PolymorphicMatcher<JournalMatcher> HasCall(const CallPattern& pattern);

/// Matches a journal with no call `pattern` matches.
SIMHOST_GTEST_EXPORT ::testing::PolymorphicMatcher<JournalMatcher> NoCall(const CallPattern& pattern);

/// Matches a journal whose number of calls `pattern` matches satisfies
/// `count`: a number (exactly that many) or a matcher of std::size_t
/// (gMock's `Ge(2u)`, say).
SIMHOST_GTEST_EXPORT ::testing::PolymorphicMatcher<JournalMatcher> CallCount(const CallPattern& pattern,
                                                                             ::testing::Matcher<std::size_t> count);

/// Matches a journal with a call for each of `patterns`, in their order:
/// each pattern matched by a later call than the one the pattern before it
/// matched; other calls may come between. The earliest fitting call is taken
/// for each pattern. No patterns match every journal.
SIMHOST_GTEST_EXPORT ::testing::PolymorphicMatcher<JournalMatcher> CallsInOrder(std::vector<CallPattern> patterns);

/// @}

}  // namespace testing
}  // namespace simhost
