// The cached service getter and the references it is measured beside, each
// on its own simulated host. The argument of every constructor is the
// number of entries one run handles, always 1 here: one getter call.
#pragma once

#include <map>
#include <string>

#include "simhost/SimHost.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace bench {

/// ServiceHelper::getGuiExeutive() with every standard service cached, as
/// in a running plug-in.
class CachedServiceGetter {
 public:
  explicit CachedServiceGetter(long entries);
  ~CachedServiceGetter();
  void run() const;
  bool verify() const;

 private:
  simhost::SimHost host_;
  Zol::ZolIService registered_;
};

/// The floor: a caller that kept the handle itself copies it (one
/// add-reference, one release).
class HeldServiceHandle {
 public:
  explicit HeldServiceHandle(long entries);
  void run() const;
  bool verify() const;

 private:
  simhost::SimHost host_;
  Zol::ZolIService held_;
};

/// The least an exported getter costs: the handle kept in another shared
/// library and copied out by an exported function.
class ExportedServiceHandle {
 public:
  explicit ExportedServiceHandle(long entries);
  ~ExportedServiceHandle();
  void run() const;
  bool verify() const;

 private:
  simhost::SimHost host_;
  Zol::ZolIService registered_;
};

/// A look-up of the service name in an ordered map of every service, plus the
/// handle copy.
class ServiceMapLookup {
 public:
  explicit ServiceMapLookup(long entries);
  void run() const;
  bool verify() const;

 private:
  Zol::ZolIService lookUp() const;

  simhost::SimHost host_;
  std::map<std::string, Zol::ZolIService> services_;
};

}  // namespace bench
