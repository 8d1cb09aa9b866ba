// Session observers: registered by construction, told in registration order
// on every release. The manager keeps plain pointers for the whole process,
// so the observers here live as long as the process does.
#include <algorithm>
#include <list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/services/ISessionObserver.h"
#include "WyrdanPluginUtilities/services/SessionManager.h"

namespace {

using kyr::orla::plugin::wyrdan::ISessionObserver;
using kyr::orla::plugin::wyrdan::SessionManager;

std::vector<std::string>& notified() {
  static std::vector<std::string> names;
  return names;
}

class NamedObserver : public ISessionObserver {
 public:
  explicit NamedObserver(std::string name) : name_(std::move(name)) {}
  NamedObserver(const NamedObserver& other, std::string name) : ISessionObserver(other), name_(std::move(name)) {}
  void onSessionRelease() override { notified().push_back(name_); }

 private:
  std::string name_;
};

// The names notified by one release().
std::vector<std::string> release() {
  notified().clear();
  SessionManager::instance()->release();
  return notified();
}

std::vector<std::string> without(std::vector<std::string> names, const std::string& name) {
  names.erase(std::remove(names.begin(), names.end(), name), names.end());
  return names;
}

TEST(SessionManager, ObserversAreToldOnceInTheOrderTheyWereMadeOnEveryReleaseAndCopiesOnlyOnceAttached) {
  static NamedObserver first("first");
  static NamedObserver second("second");
  const std::vector<std::string> once = release();
  const auto at = [&once](const char* name) { return std::find(once.begin(), once.end(), name) - once.begin(); };
  ASSERT_LT(at("first"), static_cast<long>(once.size()));
  ASSERT_LT(at("second"), static_cast<long>(once.size()));
  EXPECT_LT(at("first"), at("second"));
  EXPECT_EQ(release(), once) << "release leaves the list as it is";

  SessionManager::instance()->attach(&first);
  SessionManager::instance()->attach(nullptr);
  EXPECT_EQ(release(), once) << "attaching twice, or attaching null, notifies no one twice";

  // A copied observer is told only once attached.
  static NamedObserver original("original");
  // Every run makes a new copy; the manager's pointers need them to live on.
  static std::list<NamedObserver> copies;
  const std::string copyName = "copy " + std::to_string(copies.size());
  NamedObserver& copy = copies.emplace_back(original, copyName);
  const std::vector<std::string> before = release();
  EXPECT_EQ(std::count(before.begin(), before.end(), "original"), 1);
  EXPECT_EQ(std::count(before.begin(), before.end(), copyName), 0) << "copying registers nothing";

  SessionManager::instance()->attach(&copy);
  const std::vector<std::string> after = release();
  EXPECT_EQ(without(after, copyName), before);
  EXPECT_EQ(after.back(), copyName) << "attached last, told last";
}

}  // namespace
