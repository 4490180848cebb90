#pragma once
// A document wired to the scripted engine and recording windows.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ScriptedEngine.h"
#include "TempDir.h"
#include "playlist/PlayerDoc.h"
#include "settings/PlayerSettings.h"
#include "settings/QSettingsStore.h"

namespace lumivox::test {

class DocFixture : public ::testing::Test {
 protected:
  DocFixture() {
    auto owned = std::make_unique<ScriptedEngine>(journal);
    engine = owned.get();
    doc = std::make_unique<CPlayerDoc>(std::move(owned), settings, dir / "data/lumivox.pls");
    frame.view = &view;
    doc->SetFrame(&frame);
  }

  // Adds names (no expansion) and forgets what that logged.
  void Fill(std::initializer_list<const char*> paths) {
    for (const char* p : paths) doc->AddFile(p, false);
    journal.clear();
  }
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const PlaylistEntry* e : doc->entries()) paths.emplace_back(e->path());
    return paths;
  }
  // The titles run together: the order of one-letter entries.
  std::string Titles() const {
    std::string titles;
    for (const PlaylistEntry* e : doc->entries()) titles += e->title();
    return titles;
  }
  int Count(const std::string& line) const {
    return static_cast<int>(std::count(journal.begin(), journal.end(), line));
  }

  TempDir dir;
  Journal journal;
  QSettingsStore store{dir / "lumivox.conf"};
  PlayerSettings settings{store};
  PlayerOptions& options = settings.options();
  RecordingView view{journal};
  RecordingFrame frame{journal};
  ScriptedEngine* engine = nullptr;
  std::unique_ptr<CPlayerDoc> doc;
};

}  // namespace lumivox::test
