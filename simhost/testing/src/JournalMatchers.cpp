#include "simhost/testing/JournalMatchers.h"

#include <string>
#include <utility>

namespace simhost {

void PrintTo(const HostCall& call, std::ostream* os) { *os << call.toString(); }

void PrintTo(const CallPattern& pattern, std::ostream* os) { *os << pattern.toString(); }

void PrintTo(const CallJournal& journal, std::ostream* os) {
  const std::size_t size = journal.size();
  *os << "the call journal (" << size << (size == 1 ? " call)" : " calls)");
}

namespace testing {

namespace {

// "call 3" or "calls 3, 5 and 8", numbered from 1.
std::string callNumbers(const std::vector<std::size_t>& indices) {
  std::string text = indices.size() == 1 ? "call " : "calls ";
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i > 0) text += i + 1 == indices.size() ? " and " : ", ";
    text += std::to_string(indices[i] + 1);
  }
  return text;
}

// The indices of the calls `pattern` matches, from `from` on.
std::vector<std::size_t> matching(const std::vector<HostCall>& calls, const CallPattern& pattern,
                                  std::size_t from = 0) {
  std::vector<std::size_t> indices;
  for (std::size_t i = from; i < calls.size(); ++i) {
    if (pattern.matches(calls[i])) indices.push_back(i);
  }
  return indices;
}

// Every call, one numbered line each, after the explanation.
void listCalls(const std::vector<HostCall>& calls, ::testing::MatchResultListener* listener) {
  if (calls.empty()) {
    *listener << "; the journal is empty";
    return;
  }
  *listener << "; the journal's " << calls.size() << (calls.size() == 1 ? " call:" : " calls:");
  for (std::size_t i = 0; i < calls.size(); ++i) *listener << "\n  " << i + 1 << ". " << calls[i].toString();
}

void describeOrder(const std::vector<CallPattern>& patterns, std::ostream* os) {
  for (std::size_t i = 0; i < patterns.size(); ++i) *os << "\n  " << i + 1 << ". " << patterns[i].toString();
}

}  // namespace

JournalMatcher::JournalMatcher(Kind kind, std::vector<CallPattern> patterns, ::testing::Matcher<std::size_t> count)
    : kind_(kind), patterns_(std::move(patterns)), count_(std::move(count)) {}

void JournalMatcher::DescribeTo(std::ostream* os) const { describe(os, false); }

void JournalMatcher::DescribeNegationTo(std::ostream* os) const { describe(os, true); }

void JournalMatcher::describe(std::ostream* os, bool negated) const {
  switch (kind_) {
    case Kind::Any:
    case Kind::None:
      *os << ((kind_ == Kind::None) != negated ? "has no host call matching " : "has a host call matching ")
          << patterns_.front().toString();
      return;
    case Kind::Count:
      *os << "has host calls matching " << patterns_.front().toString() << " in a number that ";
      if (negated) {
        count_.DescribeNegationTo(os);
      } else {
        count_.DescribeTo(os);
      }
      return;
    case Kind::Order:
      *os << (negated ? "lacks host calls matching these patterns in this order:"
                      : "has host calls matching these patterns in this order, other calls allowed between:");
      describeOrder(patterns_, os);
      return;
  }
}

bool JournalMatcher::matchCalls(const std::vector<HostCall>& calls, ::testing::MatchResultListener* listener) const {
  const bool matched = kind_ == Kind::Order ? matchOrder(calls, listener) : matchOne(calls, listener);
  if (listener->IsInterested()) listCalls(calls, listener);
  return matched;
}

bool JournalMatcher::matchOne(const std::vector<HostCall>& calls, ::testing::MatchResultListener* listener) const {
  const std::vector<std::size_t> indices = matching(calls, patterns_.front());
  bool matched = false;
  switch (kind_) {
    case Kind::Any:
      matched = !indices.empty();
      break;
    case Kind::None:
      matched = indices.empty();
      break;
    case Kind::Count: {
      ::testing::StringMatchResultListener countListener;
      matched = count_.MatchAndExplain(indices.size(), &countListener);
      if (listener->IsInterested()) {
        *listener << "which has " << indices.size() << (indices.size() == 1 ? " such call" : " such calls");
        if (!indices.empty()) *listener << " (" << callNumbers(indices) << ")";
        if (!countListener.str().empty()) *listener << ", " << countListener.str();
      }
      return matched;
    }
    case Kind::Order:
      break;
  }
  if (listener->IsInterested()) {
    if (indices.empty()) {
      *listener << "which has no such call";
    } else {
      *listener << "whose " << callNumbers(indices) << (indices.size() == 1 ? " matches" : " match");
    }
  }
  return matched;
}

bool JournalMatcher::matchOrder(const std::vector<HostCall>& calls, ::testing::MatchResultListener* listener) const {
  std::vector<std::size_t> taken;
  for (std::size_t p = 0; p < patterns_.size(); ++p) {
    const std::size_t from = taken.empty() ? 0 : taken.back() + 1;
    const std::vector<std::size_t> later = matching(calls, patterns_[p], from);
    if (!later.empty()) {
      taken.push_back(later.front());
      continue;
    }
    if (listener->IsInterested()) {
      *listener << "where pattern " << p + 1 << ", " << patterns_[p].toString() << ", matches no call";
      if (!taken.empty()) {
        *listener << " after call " << taken.back() + 1 << ", which pattern " << p << " matched";
        const std::vector<std::size_t> earlier = matching(calls, patterns_[p]);
        if (!earlier.empty()) *listener << " (it matches only " << callNumbers(earlier) << ")";
      }
    }
    return false;
  }
  if (listener->IsInterested()) {
    if (taken.empty()) {
      *listener << "which is so for any journal";
    } else {
      *listener << "where " << callNumbers(taken) << " match the patterns in order";
    }
  }
  return true;
}

::testing::PolymorphicMatcher<JournalMatcher> HasCall(const CallPattern& pattern) {
  return ::testing::MakePolymorphicMatcher(JournalMatcher(JournalMatcher::Kind::Any, {pattern}, 0u));
}

::testing::PolymorphicMatcher<JournalMatcher> NoCall(const CallPattern& pattern) {
  return ::testing::MakePolymorphicMatcher(JournalMatcher(JournalMatcher::Kind::None, {pattern}, 0u));
}

::testing::PolymorphicMatcher<JournalMatcher> CallCount(const CallPattern& pattern,
                                                        ::testing::Matcher<std::size_t> count) {
  return ::testing::MakePolymorphicMatcher(JournalMatcher(JournalMatcher::Kind::Count, {pattern}, std::move(count)));
}

::testing::PolymorphicMatcher<JournalMatcher> CallsInOrder(std::vector<CallPattern> patterns) {
  return ::testing::MakePolymorphicMatcher(
      JournalMatcher(JournalMatcher::Kind::Order, std::move(patterns), std::size_t{0}));
}

}  // namespace testing
}  // namespace simhost
