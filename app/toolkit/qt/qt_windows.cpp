// Toolkit windows as tests see them.
#include "app/toolkit/qt/qt_windows.h"

namespace toolkit {

QWidget* FindControl(QWidget* window, int id) {
  auto* dialog = dynamic_cast<DialogWindow*>(window);
  return dialog ? dialog->ControlWidget(id) : nullptr;
}

int TemplateIdOf(const QWidget* window) {
  const auto* dialog = dynamic_cast<const DialogWindow*>(window);
  return dialog ? dialog->TemplateId() : -1;
}

void EndModal(QWidget* window, int code) {
  if (auto* dialog = dynamic_cast<DialogWindow*>(window)) dialog->End(code);
}

}  // namespace toolkit
