#include "simhost/services/kernel/SimConfiguration.h"

#include <utility>

namespace simhost {

void SimConfiguration::setValue(const icu::UnicodeString& name, icu::UnicodeString value) {
  std::lock_guard<std::mutex> lock(mutex_);
  values_[name] = std::move(value);
}

void SimConfiguration::removeValue(const icu::UnicodeString& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  values_.erase(name);
}

Zol::ZolResult_24_8 SimConfiguration::getValue(const icu::UnicodeString& name, icu::UnicodeString& value,
                                               std::int32_t scope) {
  if (auto answered = call("getValue", name, scope, out(value))) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = values_.find(name);
  value = it == values_.end() ? icu::UnicodeString() : it->second;
  return {};
}

void SimConfigurationManager::setConfiguration(const icu::UnicodeString& name,
                                               ZolSmartPointer<SimConfiguration> configuration) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (configuration) {
    std::swap(configurations_[name], configuration);  // the replaced one goes outside the lock
  } else if (const auto it = configurations_.find(name); it != configurations_.end()) {
    std::swap(it->second, configuration);
    configurations_.erase(it);
  }
}

ZolSmartPointer<SimConfiguration> SimConfigurationManager::configuration(const icu::UnicodeString& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = configurations_.find(name);
  return it == configurations_.end() ? ZolSmartPointer<SimConfiguration>() : it->second;
}

void SimConfigurationManager::clear() {
  std::map<icu::UnicodeString, ZolSmartPointer<SimConfiguration>> released;
  std::lock_guard<std::mutex> lock(mutex_);
  released.swap(configurations_);
}

Zol::ZolResult_24_8 SimConfigurationManager::getConfiguration(
    const icu::UnicodeString& name, ZolSmartPointer<Zol::Framework::ZolIConfigurationInterface>& configuration) {
  if (auto answered = call("getConfiguration", name, out(configuration))) return *answered;
  ZolSmartPointer<SimConfiguration> found = this->configuration(name);
  if (!found) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  configuration = std::move(found);
  return {};
}

}  // namespace simhost
