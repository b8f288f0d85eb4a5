// Steps shared by the program's tests.
#include "tests/app/app_test_support.h"

#include <QLineEdit>

void Erase(QWidget* window, int id) {
  QWidget* control = Control(window, id);
  if (control == nullptr) return;
  control->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
  Key(window, Qt::Key_Backspace);
}
