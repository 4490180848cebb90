#include "engine/length/MediaLength.h"

namespace lumivox {
namespace {

using Scanner = std::optional<std::int64_t> (*)(MediaBytes&);

std::optional<std::int64_t> ScanFile(const std::string& path, Scanner scan) {
  FileBytes file;
  if (!file.Open(path)) return std::nullopt;
  return scan(file);
}

std::optional<std::int64_t> ScanMemory(std::span<const unsigned char> bytes, Scanner scan) {
  MemoryBytes memory(bytes);
  return scan(memory);
}

}  // namespace

std::optional<std::int64_t> MpegAudioLength(const std::string& path) { return ScanFile(path, &MpegAudioLength); }
std::optional<std::int64_t> MpegAudioLength(std::span<const unsigned char> bytes) {
  return ScanMemory(bytes, &MpegAudioLength);
}

std::optional<std::int64_t> MpegVideoStreamLength(const std::string& path) {
  return ScanFile(path, &MpegVideoStreamLength);
}
std::optional<std::int64_t> MpegVideoStreamLength(std::span<const unsigned char> bytes) {
  return ScanMemory(bytes, &MpegVideoStreamLength);
}

std::optional<std::int64_t> MpegProgramStreamLength(const std::string& path) {
  return ScanFile(path, &MpegProgramStreamLength);
}
std::optional<std::int64_t> MpegProgramStreamLength(std::span<const unsigned char> bytes) {
  return ScanMemory(bytes, &MpegProgramStreamLength);
}

}  // namespace lumivox
