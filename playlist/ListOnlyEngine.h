#pragma once

#include "playlist/DocumentInterfaces.h"

namespace lumivox {

// The engine of a document that only edits lists (the command-line tool, benchmarks): it
// never holds a graph, so every transport call fails quietly, as for an engine without a
// file.
class ListOnlyEngine final : public IGraphPlayer {
 public:
  bool Open(const std::string&) override { return false; }
  bool FailIfMissing(const std::string&) override { return true; }  // every open fails at once
  void Close() override {}
  bool IsOpen() const override { return false; }
  bool Run() override { return false; }
  bool PlayPause() override { return false; }
  bool PauseResume() override { return false; }
  void Stop() override {}
  bool Seek(std::int64_t) override { return false; }
  RunState GetState() override { return State_Stopped; }
  RunState RequestedState() override { return State_Stopped; }
  bool GetTimes(std::int64_t*, std::int64_t*) override { return false; }
  bool GetEvent(GraphEvent&) override { return false; }
  std::string StreamTitle() const override { return {}; }
  bool HasBasicVideo() const override { return false; }
  bool GetVideoWidth(std::int32_t&) override { return false; }
  bool GetVideoHeight(std::int32_t&) override { return false; }
  bool GetBitRate(std::int32_t&) override { return false; }
  bool HasVideoWindow() const override { return false; }
  void SetVideoOwner(IVideoOwner*) override {}
  IVideoOwner* GetVideoOwner() const override { return nullptr; }
  void SetVideoAutoShow(bool) override {}
  void SetVideoVisible(bool) override {}
  void SetVideoWindowPosition(int, int) override {}
  void SetVideoWindowSize(int, int) override {}
  bool ProbeDeviceRenderer() override { return false; }
  int GetVolume() const override { return 100; }
  void SetVolume(int) override {}
};

// The application values of such a document: the duplicate rule as given, nothing stored.
class ListOnlySettings final : public IPlayerSettings {
 public:
  explicit ListOnlySettings(bool addExisted) : addExisted_(addExisted) {}
  bool AddExisted() const override { return addExisted_; }
  bool LoadLastList() const override { return false; }
  int AspectRatio() const override { return static_cast<int>(AspectRatio::NotFixed); }
  int VolumeMode() const override { return static_cast<int>(VolumeMode::Graph); }
  std::string_view UiLanguage() const override { return {}; }
  int GetProfileInt(std::string_view, std::string_view, int defaultValue) override { return defaultValue; }
  void WriteProfileInt(std::string_view, std::string_view, int) override {}

 private:
  bool addExisted_;
};

}  // namespace lumivox
