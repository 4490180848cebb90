#pragma once
// The writers' output: collected in one fixed block and handed on whenever it fills, so
// a list of any length is written in one pass and in bounded memory.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lumivox {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Takes all of `bytes`; false when they could not be stored.
  virtual bool Write(std::string_view bytes) = 0;
};

class StringSink final : public ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    text_ += bytes;
    return true;
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

class TextOutput {
 public:
  explicit TextOutput(ByteSink& sink);

  void Append(std::string_view text);
  // printf's "%d" (and "%lld") without the format parsing.
  void AppendNumber(std::int64_t value);

  // Hands on what is left; false when any part of the output could not be written.
  bool Finish();

 private:
  void Flush();

  ByteSink& sink_;
  std::unique_ptr<char[]> block_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace lumivox
