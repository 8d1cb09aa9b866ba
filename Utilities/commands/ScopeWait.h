/// \class kyr::orla::plugin::wyrdan::ScopeWait
/// \ingroup wyrdan_commands
/// While it lives, the host shows its wait cursor and, on request, a host
/// transaction is open.
///
/// \par Threads and exceptions
/// A wait is made and ended on one thread. Waits on several threads at once
/// share only the service cache (ServiceHelper), which serves several threads,
/// and the host's cursor and transactions. The constructor lets host exceptions
/// pass (Zol::ZolSystemException_24 when a service lacks its interface); the
/// destructor drops them.
///
/// \code
///   {
///     ScopeWait wait(true, true);  // wait cursor on, transaction begun
///     ... long edit ...
///   }                              // transaction ended, wait cursor off
/// \endcode
///
/// The cursor is asked for with event 20 of the host domain
/// "kyr.orla.appfw.CmdProcessor", published through the framework access in
/// the name of "appfw.CommandSS", and given back with event 21. Copies share
/// the transaction; every copy, when destroyed, ends it and, when the cursor
/// was asked for, publishes event 21 once more.
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "kyr/appfw/TransactionBroker.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT ScopeWait {
 public:
  /// With `waitCursor`, publishes event 20 when the framework access
  /// ("kyr.orla.appfw.AppExecutive") and its event manager exist. With
  /// `transaction`, asks the host service cache's transaction broker factory
  /// for a broker and begins its transaction. Missing services skip their
  /// step; host results are not examined. Throws Zol::ZolSystemException_24
  /// when a service lacks its interface (framework access, broker factory);
  /// host exceptions pass too. A guard whose constructor threw undoes
  /// nothing: a wait cursor it pushed before the throw stays pushed.
  ScopeWait(bool waitCursor, bool transaction);
  /// Copies the cursor flag and shares the transaction.
  ScopeWait(ScopeWait const& other);
  /// Releases the transaction held, without ending it, then copies as the
  /// copy constructor does. This guard's own cursor is not given back: it
  /// takes over the other's duties.
  ScopeWait& operator=(ScopeWait const& other);
  /// Ends the transaction held, then publishes event 21 when the cursor was
  /// asked for (the domain id looked up again, the framework access and its
  /// event manager found again). A destructor cannot pass exceptions on: the
  /// host's exceptions here, a failed cast included, are dropped, and the
  /// next step still runs.
  ~ScopeWait();

 private:
  bool m_waitCursor;
  ZolSmartPointer<kyr::orla::appfw::ZolITransactionBrokerInterface> m_transaction;
};

}  // namespace kyr::orla::plugin::wyrdan
