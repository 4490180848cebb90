#include "ui/DialogCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include <array>
#include <filesystem>

#include "playlist/PathText.h"
#include "playlist/PlayerDoc.h"
#include "playlist/PlaylistFile.h"
#include "res/ResourceIds.h"

namespace lumivox {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(lumivox::DialogCommands)
};

const char* const kMediaFilter = QT_TRANSLATE_NOOP(
    "lumivox::DialogCommands",
    "All supported types|*.wav;*.snd;*.au;*.aif;*.aifc;*.aiff;*.mpa;*.mp2;*mp3;*.wma;*.avi;*.mpg;*.m1v;*.mpv;*.m2p;"
    "*.m2v;*.wmv;*.asf;*.flac;*.ogg;*.oga;*.opus;*.m4a;*.mp4;*.m4v;*.mkv;*.mka;*.webm;*.mov;*.pls;*.m3u;*.lst;*.aal;*."
    "val|Audio Files (*.wav;*.snd;*.au;*.aif;*.aifc;*.aiff)|*.wav;*.snd;"
    "*.au;*.aif;*.aifc;*.aiff|MPEG Audio Files (*.mpa;*.mp2;*mp3)|*.mpa;*.mp2;*mp3|Windows Media Audio Files "
    "(*.wma)|*.wma|Video Files (*.avi)|*.avi|MPEG Video Files (*.mpg;*.m1v;*.mpv;*.m2p;*.m2v)|*.mpg;*.m1v;*.mpv;"
    "*.m2p;*.m2v|Windows Media Video Files (*.wmv;*.asf)|*.wmv;*.asf|Other Audio and Video Files "
    "(*.flac;*.ogg;*.oga;*.opus;*.m4a;*.mp4;*.m4v;*.mkv;*.mka;*.webm;*.mov)|"
    "*.flac;*.ogg;*.oga;*.opus;*.m4a;*.mp4;*.m4v;*.mkv;*.mka;*.webm;*.mov|Playlist Files "
    "(*.pls;*.m3u;*.lst;*.aal;*.val)|*.m3u;*.pls;*.lst;*.aal;*.val|All Files (*.*)|*.*||");
const char* const kSaveFilter = QT_TRANSLATE_NOOP(
    "lumivox::DialogCommands", "PLS Playlist (*.pls)|*.pls|M3U Playlist (*.m3u)|*.m3u|LST list (*.lst)|*.lst||");
const char* const kListFilter = QT_TRANSLATE_NOOP(
    "lumivox::DialogCommands",
    "All supported list (*.pls;*.m3u;*.lst;*.aal;*.val)|*.m3u;*.pls;*.lst;*.aal;*.val|PLS Playlist (*.pls)|*.pls|"
    "M3U Playlist (*.m3u)|*.m3u|LST list (*.lst)|*.lst|SOUNDHARBOR Audio Album (*.aal)|*.aal|SOUNDHARBOR Video Album "
    "(*.val)|*.val|All Files (*.*)|*.*||");

constexpr std::array<std::string_view, 3> kSaveExtensions = {".pls", ".m3u", ".lst"};

struct DialogResult {
  QStringList files;
  int filterIndex = 0;
};

// The dialogs are Qt's own, so they look and behave the same on every desktop.
std::optional<DialogResult> AskForFiles(DialogCommandContext& c, QFileDialog::AcceptMode accept,
                                        QFileDialog::FileMode mode, const QString& title, const char* filter) {
  QFileDialog dialog(c.owner, title, QString::fromStdString(c.options.lastDir));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(accept);
  dialog.setFileMode(mode);
  const QStringList filters = NameFilters(Texts::tr(filter).toStdString());
  dialog.setNameFilters(filters);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  // With the details hidden the dialog may name the chosen filter by its description only.
  const QString chosen = dialog.selectedNameFilter();
  int filterIndex = 0;
  for (qsizetype i = 0; i < filters.size(); ++i) {
    if (filters[i] == chosen || filters[i].startsWith(chosen + " (")) filterIndex = static_cast<int>(i);
  }
  DialogResult result{dialog.selectedFiles(), filterIndex};
  // The chosen file's folder becomes the working folder, so relative names in lists
  // resolve against it.
  QDir::setCurrent(QFileInfo(result.files.front()).absolutePath());
  return result;
}

// Open (replacing the list) and Add share the dialog and the handling of its result.
bool AddChosenFiles(DialogCommandContext& c, const QString& title, bool replace) {
  const auto chosen = AskForFiles(c, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles, title, kMediaFilter);
  if (!chosen) return false;
  if (replace) c.doc.RemoveAll();
  for (const QString& file : chosen->files) {
    std::error_code error;
    const std::string name = file.toStdString();
    if (std::filesystem::exists(name, error)) c.doc.AddFile(name, true);
  }
  c.options.lastDir = FolderOf(chosen->files.front().toStdString());
  return true;
}

void Open(DialogCommandContext& c) {
  if (AddChosenFiles(c, Texts::tr("Open..."), true)) c.doc.OpenItemWithFallback(0, true, true);
}

void Add(DialogCommandContext& c) {
  if (!AddChosenFiles(c, Texts::tr("Add..."), false)) return;
  if (!c.doc.engine().IsOpen()) c.doc.OpenItemWithFallback(0, true, false);
}

void FindAndAdd(DialogCommandContext& c) {
  QFileDialog dialog(c.owner, Texts::tr("Specify the Folder to Search"), QString::fromStdString(c.options.lastDir));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
  dialog.setFileMode(QFileDialog::Directory);
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    const std::string folder = dialog.selectedFiles().front().toStdString();
    c.doc.AddFolder(folder);
    c.options.lastDir = folder;
  }
  if (!c.doc.engine().IsOpen()) c.doc.OpenItemWithFallback(0, true, false);
}

void OpenPlaylist(DialogCommandContext& c) {
  const auto chosen =
      AskForFiles(c, QFileDialog::AcceptOpen, QFileDialog::ExistingFile, Texts::tr("Open Playlist..."), kListFilter);
  if (!chosen) return;
  const std::string name = chosen->files.front().toStdString();
  c.doc.RemoveAll();
  c.doc.LoadPlaylistFile(name);
  if (!c.doc.engine().IsOpen()) c.doc.OpenItemWithFallback(0, true, false);
  c.options.lastDir = FolderOf(name);
}

void SavePlaylistAs(DialogCommandContext& c) {
  const auto chosen =
      AskForFiles(c, QFileDialog::AcceptSave, QFileDialog::AnyFile, Texts::tr("Save Playlist..."), kSaveFilter);
  if (!chosen) return;
  const std::string typed = chosen->files.front().toStdString();
  const std::string name = SavePlaylistName(typed, chosen->filterIndex);
  std::error_code error;
  if (name != typed && std::filesystem::exists(name, error) &&
      QMessageBox::question(
          c.owner, Texts::tr("Save Playlist..."),
          Texts::tr("%1 already exists.\nDo you want to replace it?").arg(QString::fromStdString(name))) !=
          QMessageBox::Yes) {
    return;
  }
  SavePlaylist(name, c.doc.entries());
  c.options.lastDir = FolderOf(name);
}

void ToggleLumivault(DialogCommandContext& c) {
  c.options.lumivault = c.options.lumivault ? 0 : 1;
  QMessageBox::information(c.owner, QString::fromUtf8(kAppTitle.data(), kAppTitle.size()),
                           Texts::tr("LumivaultHD output will be activated if the file is opened next"));
}

using Row = CommandRow<DialogCommandContext>;

std::span<const Row> Rows() {
  static const std::vector<Row> rows = {
      {ID_FILE_OPEN, Open, nullptr},
      {ID_EDIT_ADD, Add, nullptr},
      {ID_EDIT_FIND_AND_ADD, FindAndAdd, nullptr},
      {ID_FILE_OPEN_PLAYLIST, OpenPlaylist, nullptr},
      {ID_FILE_SAVE_PLAYLIST, SavePlaylistAs,
       [](DialogCommandContext& c) {
         return CommandState{c.doc.GetCount() > 0, false};
       }},
      {ID_TOOL_USE_LUMIVAULT, ToggleLumivault,
       [](DialogCommandContext& c) {
         return CommandState{c.doc.deviceAvailable(), c.options.lumivault != 0};
       }},
  };
  return rows;
}

}  // namespace

QStringList NameFilters(std::string_view filterString) {
  QStringList filters;
  const QStringList parts =
      QString::fromUtf8(filterString.data(), static_cast<qsizetype>(filterString.size())).split('|');
  for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    // "*.*" meant every file, with or without a dot.
    patterns.replaceInStrings(QStringLiteral("*.*"), QStringLiteral("*"));
    filters << parts[i] + " (" + patterns.join(' ') + ')';
  }
  return filters;
}

std::string SavePlaylistName(std::string name, int filterIndex) {
  const std::size_t index = filterIndex >= 0 && filterIndex < 3 ? static_cast<std::size_t>(filterIndex) : 0;
  const std::string_view extension = kSaveExtensions[index];
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return name + std::string(extension);
  const std::string typed = ListExtensionKey(name);
  for (const std::string_view known : kSaveExtensions) {
    if (typed == known) return name;
  }
  return name + std::string(extension);
}

std::optional<CommandState> DialogCommandState(int id, DialogCommandContext& context) {
  return CommandRowState(Rows(), id, context);
}

bool RunDialogCommand(int id, DialogCommandContext& context) { return RunCommandRow(Rows(), id, context); }

}  // namespace lumivox
