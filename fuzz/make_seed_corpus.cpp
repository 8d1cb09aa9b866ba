// Writes the starting corpus of valid streams: make_seed_corpus <corpus folder>.
#include <cstdint>
#include <fstream>
#include <string>

#include "WyrdanPluginUtilities/commands/DataBunch.h"

using kyr::orla::plugin::wyrdan::DataBunch;

namespace {

void write(const std::string& path, const Zol::ZolAny_24_8& any) {
  const std::string_view bytes = any.streamBytes();
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// An object to refer to: fuzz_databunch gives each stream a table of as many
// objects of its own as the stream refers to.
class Seed final : public Zol::ZolIServiceInterface {
 public:
  void addReference() noexcept override { ++references_; }
  void releaseReference() noexcept override {
    if (--references_ == 0) delete this;
  }
  Zol::ZolResult_24_8 queryInterface(const Zol::ZolTypeId& id, void** out) noexcept override {
    *out = nullptr;
    if (!Zol::offerInterface<Zol::ZolIServiceInterface>(this, id, out)) {
      return Zol::ZolResult_24_8(Zol::kQueryNoInterface);
    }
    addReference();
    return {};
  }
  std::string getServiceName() const override { return "Wyrdan.Fuzz.Seed"; }
  std::uint64_t getServiceId() const noexcept override { return 1; }

 private:
  ~Seed() override = default;
  int references_ = 0;
};

// FuzzedDataProvider input for fuzz_bunch_values: `size` bytes counting up
// from `first` in steps of `step`.
void writePattern(const std::string& path, std::size_t size, unsigned first, unsigned step) {
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) bytes.push_back(static_cast<char>((first + i * step) & 0xffU));
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

Zol::ZolAny_24_8 sequenceOf(std::initializer_list<Zol::ZolAny_24_8> values) {
  Zol::ZolAny_24_8 any;
  Zol::ZolOutStream_24_8 out = any.initializeStream();
  for (const Zol::ZolAny_24_8& value : values) Zol::marshaller_insert(out, value);
  any.setData(Zol::getTC_Zol_ZolString_24_8());
  return any;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string root = argv[1];
  const DataBunch inner{{"depth", 2}, {"flag", false}};
  DataBunch mixed{{"count", 3}, {"visible", true}, {"empty", Zol::ZolAny_24_8()}};
  mixed.setData("name", Zol::makeZolAny("plate"));
  mixed.setData("label", Zol::makeZolAny(icu::UnicodeString::fromUTF8("Tr\xC3\xA4ger \xE6\xA2\x81")));
  mixed.setData("nested", inner.toZolAny());

  write(root + "/databunch/empty", DataBunch().toZolAny());
  write(root + "/databunch/integers", DataBunch{{"a", 1}, {"b", -2}, {"c", 2147483647}}.toZolAny());
  write(root + "/databunch/mixed", mixed.toZolAny());
  {
    const Zol::ZolIService first(new Seed());
    const Zol::ZolIService second(new Seed());
    DataBunch inside;
    inside.setData("part", second);
    DataBunch objects{{"nested", inside.toZolAny()}, {"none", Zol::makeZolAny(Zol::ZolIService())}};
    objects.setData("first", first);
    write(root + "/databunch/objects", objects.toZolAny());
  }

  write(root + "/any_extract/scalars", sequenceOf({1, true, Zol::makeZolAny(2.5), Zol::makeZolAny(std::int64_t{-9})}));
  write(root + "/any_extract/strings",
        sequenceOf({Zol::makeZolAny("text"), Zol::makeZolAny(icu::UnicodeString::fromUTF8("\xF0\x9F\x94\xA7"))}));
  write(root + "/any_extract/nested", sequenceOf({mixed.toZolAny(), Zol::ZolAny_24_8()}));

  writePattern(root + "/bunch_values/ascending", 256, 0, 1);
  writePattern(root + "/bunch_values/descending", 256, 255, 255);
  writePattern(root + "/bunch_values/sparse", 512, 7, 37);
  return 0;
}
