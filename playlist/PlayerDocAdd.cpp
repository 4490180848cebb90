// The ways files reach the playlist: single files, folders, list files and drops.

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <memory>

#include "playlist/FolderOrder.h"
#include "playlist/ListNames.h"
#include "playlist/MediaTypes.h"
#include "playlist/PathText.h"
#include "playlist/PlayerDoc.h"

namespace lumivox {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

bool IsFolder(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

PathIndex& CPlayerDoc::EnsurePathIndex() {
  if (!pathIndex_) {
    pathIndex_.emplace();
    for (const PlaylistEntry* e : entries_) pathIndex_->Add(e);
  }
  return *pathIndex_;
}

bool CPlayerDoc::IsInList(std::string_view path) { return EnsurePathIndex().Contains(path); }

bool CPlayerDoc::Admit(std::string_view path, std::uint64_t& hash) {
  if (settings_.AddExisted()) {
    hash = pathIndex_ ? PathIndex::Hash(path) : 0;
    return true;
  }
  hash = PathIndex::Hash(path);
  return !EnsurePathIndex().Contains(path, hash);
}

bool CPlayerDoc::Append(std::string_view path, std::uint64_t hash) {
  const bool held = insertBlocks_ > 0;
  const PlaylistEntry* entry =
      held ? entries_.Hold(static_cast<std::size_t>(ListedCount()), path) : entries_.Append(path);
  if (!entry) return false;
  if (pathIndex_) pathIndex_->Add(entry, hash);
  if (IPlaylistView* view = PlaylistView(); view && !held) view->AppendItem();
  Changed();
  return true;
}

bool CPlayerDoc::InsertAt(int index, std::string_view path, std::uint64_t hash) {
  const bool held = insertBlocks_ > 0;
  const auto at = static_cast<std::size_t>(index);
  const PlaylistEntry* entry = held ? entries_.Hold(at, path) : entries_.Insert(at, path);
  if (!entry) return false;
  if (currentIndex_ >= index) ++currentIndex_;
  if (pathIndex_) pathIndex_->Add(entry, hash);
  if (IPlaylistView* view = PlaylistView(); view && !held) view->InsertItemAt(index);
  Changed();
  return true;
}

void CPlayerDoc::PlaceHeld() {
  const std::vector<IndexRange> runs = entries_.PlaceHeld();
  if (IPlaylistView* view = PlaylistView(); view && !runs.empty()) view->InsertItems(runs);
}

// A stream named like a list is a stream: only lists on disk are read.
bool CPlayerDoc::AddFile(std::string_view path, bool expand) {
  if (expand && IsPlaylistFile(path) && !IsStreamName(path)) {
    LoadPlaylistFile(std::string(path));
    return false;
  }
  std::uint64_t hash;
  return Admit(path, hash) && Append(path, hash);
}

bool CPlayerDoc::InsertFile(int index, std::string_view path, bool expand) {
  if (expand && IsPlaylistFile(path) && !IsStreamName(path)) {
    InsertPlaylistFile(index, std::string(path));
    return false;
  }
  std::uint64_t hash;
  if (!Admit(path, hash)) return false;
  return index >= 0 && index < ListedCount() ? InsertAt(index, path, hash) : Append(path, hash);
}

void CPlayerDoc::LoadPlaylistFile(const std::string& path) {
  ListNames listNames(path, settings_.UiLanguage());
  if (settings_.AddExisted() && !pathIndex_) {
    const NameSink add = [&](std::string_view name) { AddFile(name, false); };
    ReadPlaylist(path, [&](std::string_view name) { listNames.Take(name, add); });
    listNames.Finish(add);
    return;
  }
  // Every name costs a probe at a random place of the path index. Hashing a few names
  // ahead and prefetching their slots lets those memory loads overlap.
  constexpr std::size_t kAhead = 8;
  std::array<std::string, kAhead> names;
  std::array<std::uint64_t, kAhead> hashes;
  std::size_t pending = 0;
  PathIndex& index = EnsurePathIndex();
  const auto addPending = [&] {
    for (std::size_t i = 0; i < pending; ++i) {
      if (settings_.AddExisted() || !index.Contains(names[i], hashes[i])) Append(names[i], hashes[i]);
    }
    pending = 0;
  };
  const NameSink add = [&](std::string_view name) {
    names[pending].assign(name);
    hashes[pending] = PathIndex::Hash(names[pending]);
    index.Prefetch(hashes[pending]);
    if (++pending == kAhead) addPending();
  };
  ReadPlaylist(path, [&](std::string_view name) { listNames.Take(name, add); });
  listNames.Finish(add);
  addPending();
}

void CPlayerDoc::InsertPlaylistFile(int index, const std::string& path) {
  const InsertBlock block(*this);
  int k = index;
  ListNames listNames(path, settings_.UiLanguage());
  const NameSink insert = [&](std::string_view name) {
    if (InsertFile(k, name, false)) ++k;
  };
  ReadPlaylist(path, [&](std::string_view name) { listNames.Take(name, insert); });
  listNames.Finish(insert);
}

std::vector<std::string> CPlayerDoc::ScanFolder(const std::string& folder) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return names;
  while (const dirent* item = readdir(dir.get())) {
    const std::string_view name = item->d_name;
    if (name == "." || name == "..") continue;
    std::string full = JoinPath(folder, name);
    if (!IsSupportedFile(full)) continue;
    // d_type spares a stat per file; links and file systems without it need one.
    const bool folderItem =
        item->d_type == DT_DIR || ((item->d_type == DT_UNKNOWN || item->d_type == DT_LNK) && IsFolder(full));
    if (!folderItem) names.push_back(std::move(full));
  }
  SortInFolderOrder(names);
  return names;
}

void CPlayerDoc::AddFolder(const std::string& folder) {
  for (const auto& name : ScanFolder(folder)) AddFile(name, true);
}

void CPlayerDoc::InsertFolder(int index, const std::string& folder) {
  const InsertBlock block(*this);
  int k = index;
  for (const auto& name : ScanFolder(folder)) {
    if (InsertFile(k, name, true)) ++k;
  }
}

void CPlayerDoc::OnDropFiles(const std::vector<std::string>& names) {
  RemoveAll();
  for (const auto& name : names) {
    struct stat st {};
    if (IsStreamName(name)) {
      AddFile(name, true);
    } else if (stat(name.c_str(), &st) == 0) {
      if (S_ISDIR(st.st_mode))
        AddFolder(name);
      else
        AddFile(name, true);
    }
  }
  OpenItemWithFallback(0, true, true);
}

}  // namespace lumivox
