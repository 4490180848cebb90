// The installed program as a desktop, a packager and a user who moves it see it:
// `cmake --install` into a scratch prefix.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QImage>
#include <QMimeDatabase>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "MediaFixtures.h"
#include "TempDir.h"
#include "playlist/MediaTypes.h"

namespace lumivox::test {
namespace {

namespace fs = std::filesystem;

struct Output {
  int status;
  std::string out;
};

// Runs a shell command with the maker's module left to the program to find.
Output Shell(const std::string& command) {
  Output run{-1, {}};
  FILE* pipe = popen(("(unset LUMIVOX_PLUGIN_PATH; " + command + ") 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

const std::string kId = LUMIVOX_APP_ID;
const fs::path kEntry = "share/applications/" + kId + ".desktop";
const fs::path kMetainfo = "share/metainfo/" + kId + ".metainfo.xml";
const fs::path kModule = "lib/lumivox/gstreamer-1.0/libgsthalcyon.so";
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = std::make_unique<TempDir>();
    const Output run =
        Shell(std::string(LUMIVOX_CMAKE) + " --install " + Quoted(LUMIVOX_BUILD_DIR) + " --prefix " + Quoted(Prefix()));
    ASSERT_EQ(run.status, 0) << run.out;
  }
  static void TearDownTestSuite() { root_.reset(); }
  static fs::path Prefix() { return root_->path() / "usr"; }

  static std::unique_ptr<TempDir> root_;
};
std::unique_ptr<TempDir> Installed::root_;

TEST_F(Installed, HasTheProgramsTheModuleTheEntryTheIconsAndTheManualPages) {
  for (const fs::path& file : {fs::path("bin/lumivox"), fs::path("bin/lumivox-tool"), kModule, kEntry, kMetainfo,
                               fs::path("share/icons/hicolor/scalable/apps/" + kId + ".svg"),
                               fs::path("share/man/man1/lumivox.1.gz"), fs::path("share/man/man1/lumivox-tool.1.gz")}) {
    EXPECT_TRUE(fs::is_regular_file(Prefix() / file)) << file;
  }
  // Drawn from the SVG; the 32-pixel one looks like the window's own icon.
  for (const int size : kIconSizes) {
    const auto png = Prefix() / ("share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/" +
                                 kId + ".png");
    EXPECT_EQ(QImage(QString::fromStdString(png.string())).size(), QSize(size, size)) << png;
  }
  const QImage drawn =
      QImage(QString::fromStdString((Prefix() / "share/icons/hicolor/32x32/apps" / (kId + ".png")).string()))
          .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage window = QImage(LUMIVOX_SOURCE_DIR "/res/lumivox.xpm").convertToFormat(drawn.format());
  ASSERT_EQ(window.size(), drawn.size());
  // Smoothed edges differ by about 4 a channel; no play mark or other colours by over 9.
  double difference = 0;
  for (qsizetype i = 0; i < drawn.sizeInBytes(); ++i)
    difference += std::abs(drawn.constBits()[i] - window.constBits()[i]);
  EXPECT_LT(difference / static_cast<double>(drawn.sizeInBytes()), 7) << "mean difference a channel";
}

TEST_F(Installed, ValidatorsAcceptTheEntryAndTheMetainfo) {
  for (const std::string& command : {"desktop-file-validate " + Quoted(Prefix() / kEntry),
                                     "appstreamcli validate --no-net --pedantic " + Quoted(Prefix() / kMetainfo),
                                     "appstreamcli validate-tree --no-net --pedantic " + Quoted(Prefix())}) {
    const Output run = Shell(command);
    EXPECT_EQ(run.status, 0) << command << "\n" << run.out;
    EXPECT_EQ(run.out.find(": "), std::string::npos) << command << " reports\n" << run.out;
  }
  for (const char* page : {"lumivox.1.gz", "lumivox-tool.1.gz"}) {
    const Output run = Shell("man --warnings -l " + Quoted(Prefix() / "share/man/man1" / page) + " 2>&1 >/dev/null");
    EXPECT_EQ(run.status, 0) << page;
    EXPECT_EQ(run.out, "") << page;
  }
  // Every option the tool answers to is in its manual page.
  const Output help = Shell(Quoted(Prefix() / "bin/lumivox-tool") + " --help");
  const Output page =
      Shell("MANWIDTH=200 man --nh --nj -l " + Quoted(Prefix() / "share/man/man1/lumivox-tool.1.gz") + " | col -b");
  ASSERT_EQ(help.status, 0);
  for (std::size_t at = 0; (at = help.out.find("  --", at)) != std::string::npos; ++at) {
    const std::string option = help.out.substr(at + 2, help.out.find(' ', at + 2) - at - 2);
    EXPECT_NE(page.out.find(option), std::string::npos) << option;
  }
}

TEST_F(Installed, TheEntryStartsThePlayerForEveryTypeItPlays) {
  const std::string entry = TempDir::Read((Prefix() / kEntry).string());
  const auto value = [&entry](const std::string& key) {
    const auto at = entry.find("\n" + key + "=");
    return at == std::string::npos ? std::string()
                                   : entry.substr(at + key.size() + 2, entry.find('\n', at + 1) - at - key.size() - 2);
  };
  EXPECT_EQ(value("Exec"), "lumivox %U");
  EXPECT_EQ(value("Icon"), kId);
  const QStringList types = QString::fromStdString(value("MimeType")).split(';', Qt::SkipEmptyParts);
  const QMimeDatabase mime;
  std::vector<std::string_view> extensions(kMediaExtensions.begin(), kMediaExtensions.end());
  extensions.insert(extensions.end(), {"m3u", "m3u8", "pls"});
  for (const std::string_view extension : extensions) {
    const QString name = "x." + QString::fromUtf8(extension.data(), static_cast<int>(extension.size()));
    bool listed = false;
    for (const QMimeType& type : mime.mimeTypesForFileName(name)) listed = listed || types.contains(type.name());
    EXPECT_TRUE(listed || mime.mimeTypesForFileName(name).isEmpty()) << extension;
  }
  for (const char* list : {"audio/x-mpegurl", "audio/x-scpls"}) EXPECT_TRUE(types.contains(list)) << list;
}

TEST_F(Installed, AMovedPrefixKeepsTheMakersDecoders) {
  const fs::path moved = root_->path() / "elsewhere";
  fs::rename(Prefix(), moved);
  struct MoveBack {
    fs::path from;
    ~MoveBack() { fs::rename(from, Installed::Prefix()); }
  } moveBack{moved};
  const std::string probe = Quoted(moved / "bin/lumivox-tool") + " probe " + Quoted(MediaPath("clip.mpg"));

  Output run = Shell(probe);
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("filter: Halcyon MPEG Video Decoder\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("filter: Halcyon MPEG Audio Decoder\n"), std::string::npos) << run.out;

  // Without the module beside it the program finds none: not the build folder's, not the
  // folder it was installed to.
  fs::rename(moved / kModule, root_->path() / "module.so");
  run = Shell(probe);
  fs::rename(root_->path() / "module.so", moved / kModule);
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out.find("Halcyon"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace lumivox::test
