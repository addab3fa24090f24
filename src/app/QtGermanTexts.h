#pragma once

#include <QTranslator>

namespace quorvanta {

// Qt's own texts in German (file dialogs, message box buttons, context
// menus) for as long as the object lives, from the translations the system's
// Qt ships.
class QtGermanTexts {
 public:
  QtGermanTexts();
  ~QtGermanTexts();
  QtGermanTexts(const QtGermanTexts&) = delete;
  QtGermanTexts& operator=(const QtGermanTexts&) = delete;

  // False where the system has no German Qt translations; Qt then speaks
  // English.
  bool loaded() const { return loaded_; }

 private:
  QTranslator translator_;
  bool loaded_ = false;
};

}  // namespace quorvanta
