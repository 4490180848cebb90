#pragma once
// What one logging category says, from warnings up, while one of these lives.

#include <QLoggingCategory>
#include <QString>

#include <mutex>
#include <string>
#include <vector>

namespace lumivox::test {

class CategoryLog {
 public:
  explicit CategoryLog(const char* category) : previous_(qInstallMessageHandler(&Keep)) {
    const std::lock_guard lock(mutex_);
    category_ = category;
    QLoggingCategory::setFilterRules(QString::fromUtf8(category) + ".warning=true");
  }
  ~CategoryLog() {
    qInstallMessageHandler(previous_);
    QLoggingCategory::setFilterRules({});
    Clear();
  }
  CategoryLog(const CategoryLog&) = delete;
  CategoryLog& operator=(const CategoryLog&) = delete;

  std::vector<std::string> Lines() const {
    const std::lock_guard lock(mutex_);
    return lines_;
  }
  void Clear() {
    const std::lock_guard lock(mutex_);
    lines_.clear();
  }

 private:
  // GStreamer's threads may log too.
  static void Keep(QtMsgType, const QMessageLogContext& context, const QString& text) {
    const std::lock_guard lock(mutex_);
    if (context.category && category_ == context.category) lines_.push_back(text.toStdString());
  }
  static inline std::mutex mutex_;
  static inline std::string category_;
  static inline std::vector<std::string> lines_;
  QtMessageHandler previous_;
};

}  // namespace lumivox::test
