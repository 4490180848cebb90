#pragma once
// An in-memory settings store that remembers every call in order.

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/SettingsStore.h"

namespace lumivox::test {

class RecordingStore final : public ISettingsStore {
 public:
  enum class Op { Read, Write, Flush };
  struct Call {
    Op op;
    std::string section;
    std::string name;
    friend bool operator==(const Call&, const Call&) = default;
    friend void PrintTo(const Call& call, std::ostream* out) {
      constexpr const char* kOps[] = {"read", "write", "flush"};
      *out << kOps[int(call.op)] << ' ' << call.section << '/' << call.name;
    }
  };
  using Value = std::variant<int, std::string>;

  int GetProfileInt(std::string_view section, std::string_view name, int defaultValue) override {
    Record(Op::Read, section, name);
    const Value* v = Find(section, name);
    return v && std::holds_alternative<int>(*v) ? std::get<int>(*v) : defaultValue;
  }
  void WriteProfileInt(std::string_view section, std::string_view name, int value) override {
    Record(Op::Write, section, name);
    values[Key(section, name)] = value;
  }
  std::string GetProfileString(std::string_view section, std::string_view name,
                               std::string_view defaultValue) override {
    Record(Op::Read, section, name);
    const Value* v = Find(section, name);
    return v && std::holds_alternative<std::string>(*v) ? std::get<std::string>(*v)
                                                         : std::string(defaultValue);
  }
  void WriteProfileString(std::string_view section, std::string_view name,
                          std::string_view value) override {
    Record(Op::Write, section, name);
    values[Key(section, name)] = std::string(value);
  }
  void Flush() override { Record(Op::Flush, "", ""); }

  static std::pair<std::string, std::string> Key(std::string_view section, std::string_view name) {
    return {std::string(section), std::string(name)};
  }

  std::map<std::pair<std::string, std::string>, Value> values;
  std::vector<Call> calls;

 private:
  void Record(Op op, std::string_view section, std::string_view name) {
    calls.push_back({op, std::string(section), std::string(name)});
  }
  const Value* Find(std::string_view section, std::string_view name) const {
    const auto it = values.find(Key(section, name));
    return it == values.end() ? nullptr : &it->second;
  }
};

}  // namespace lumivox::test
