#include "WyrdanPluginUtilities/commands/ScopeWait.h"

#include <cstdint>
#include <string>

#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/IFrameworkAccess.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

const char* const kCommandDomain = "kyr.orla.appfw.CmdProcessor";
const char* const kCommandSender = "appfw.CommandSS";
constexpr std::int32_t kPushWaitCursor = 20;
constexpr std::int32_t kPopWaitCursor = 21;

// Publishes `eventId` of the command domain in the command subsystem's name.
void publishCursorEvent(std::int32_t eventId) {
  const auto access = Zol::interfaceCastOrThrow<appfw::IFrameworkAccessInterface>(ServiceHelper::getFrameworkAccess());
  if (!access) return;
  ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> manager;
  access->getEventManager(manager);
  if (!manager) return;
  std::int64_t domainId = 0;
  manager->lookUpDomainId(kCommandDomain, domainId);
  access->publishEvent(kCommandSender, Zol::Framework::ZolEvent{domainId, eventId, Zol::ZolAny_24_8()}, false);
}

}  // namespace

ScopeWait::ScopeWait(bool waitCursor, bool transaction) : m_waitCursor(waitCursor) {
  if (m_waitCursor) publishCursorEvent(kPushWaitCursor);
  if (transaction) {
    const auto factory =
        Zol::interfaceCastOrThrow<appfw::ZolITransactionBrokerFactoryInterface>(ServiceHelper::getTransactionBroker());
    if (factory) factory->createTransactionBroker(m_transaction);
    if (m_transaction) m_transaction->beginTransaction();
  }
}

ScopeWait::ScopeWait(ScopeWait const& other) = default;

ScopeWait& ScopeWait::operator=(ScopeWait const& other) {
  if (this != &other) {
    m_transaction.reset();
    m_waitCursor = other.m_waitCursor;
    m_transaction = other.m_transaction;
  }
  return *this;
}

ScopeWait::~ScopeWait() {
  if (m_transaction) {
    try {
      m_transaction->endTransaction();
    } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor has no one to report to
    }
  }
  if (m_waitCursor) {
    try {
      publishCursorEvent(kPopWaitCursor);
    } catch (...) {  // NOLINT(bugprone-empty-catch): as above
    }
  }
}

}  // namespace kyr::orla::plugin::wyrdan
