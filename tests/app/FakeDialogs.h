#pragma once

#include <deque>
#include <optional>
#include <vector>

#include <QString>

#include "app/UserDialogs.h"

namespace quorvanta::test {

// Answers the main window's dialogs from queues the test fills, and records
// what was asked. An empty queue, or an empty file name, answers Cancel or No.
// Directory dialogs take their answers from the file answers too.
class FakeDialogs : public UserDialogs {
 public:
  struct Asked {
    QString title, text;
  };

  std::deque<QString> fileAnswers;
  std::deque<bool> questionAnswers;
  std::vector<Asked> asked;   // questions and messages, in order
  std::vector<QString> fileDialogStarts;
  // The IGC header details: each answer is what the pilot confirmed, or
  // nothing for "Abbrechen".
  std::deque<std::optional<IgcHeaderValues>> headerAnswers;
  std::vector<bool> headerAskedFromFlightRecorder;

  std::optional<QString> openFileName(QWidget*, const QString& title, const QString& start,
                                      const QString&) override {
    return nextFile(title, start);
  }
  std::optional<QString> saveFileName(QWidget*, const QString& title, const QString& start,
                                      const QString&) override {
    return nextFile(title, start);
  }
  bool askYesNo(QWidget*, const QString& title, const QString& text) override {
    return nextAnswer(title, text);
  }
  bool askOkCancel(QWidget*, const QString& title, const QString& text) override {
    return nextAnswer(title, text);
  }
  void inform(QWidget*, const QString& title, const QString& text) override {
    asked.push_back({title, text});
  }
  void warn(QWidget*, const QString& title, const QString& text) override {
    asked.push_back({title, text});
  }
  std::optional<QString> existingDirectory(QWidget*, const QString& title,
                                           const QString& start) override {
    return nextFile(title, start);
  }
  std::optional<IgcHeaderValues> igcHeaderDetails(QWidget*, SettingsStore&,
                                                  bool fromFlightRecorder) override {
    asked.push_back({"Quorvanta: weitere Angaben zum IGC-File", QString()});
    headerAskedFromFlightRecorder.push_back(fromFlightRecorder);
    if (headerAnswers.empty()) return std::nullopt;
    const auto answer = headerAnswers.front();
    headerAnswers.pop_front();
    return answer;
  }

 private:
  std::optional<QString> nextFile(const QString& title, const QString& start) {
    fileDialogStarts.push_back(start);
    asked.push_back({title, start});
    if (fileAnswers.empty()) return std::nullopt;
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer.isEmpty()) return std::nullopt;
    return answer;
  }
  bool nextAnswer(const QString& title, const QString& text) {
    asked.push_back({title, text});
    if (questionAnswers.empty()) return false;
    const bool answer = questionAnswers.front();
    questionAnswers.pop_front();
    return answer;
  }
};

}  // namespace quorvanta::test
