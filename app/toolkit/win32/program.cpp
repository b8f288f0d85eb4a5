// The program's start and its modal dialogs on the Windows dialog manager:
// each run turns the template into an extended in-memory template and runs
// it with DialogBoxIndirectParamW; the dialog procedure's messages go on to
// the core, which hands them to the dialog's message map.
#include "app/toolkit/accessible_names.h"
#include "app/toolkit/backend.h"
#include "app/toolkit/win32/dialog_template_ex.h"
#include "app/toolkit/win32/native.h"
#include "app/toolkit/win32/print_native.h"

namespace toolkit::backend {
namespace {

class NativeEvents : public win32::DialogEvents {
 public:
  NativeEvents(const DialogTemplate& dialog, backend::DialogEvents& core)
      : dialog_(dialog), core_(core) {}

  bool Init(win32::Window window) override {
    NameUnlabelledControls(window);
    const bool focusFirst = core_.InitDialog(window);
    // Windows draws its own commands (Move, Close, ...); the dialog's own
    // items go below them on the real system menu.
    if (const CMenu* menu = core_.SystemMenu()) {
      for (const CMenu::Item& item : menu->Items()) {
        if ((item.id & 0xF000) == 0xF000) continue;
        win32::AppendSystemMenuItem(window, item.flags, item.id, item.text);
      }
    }
    return focusFirst;
  }
  void Command(unsigned code, int id) override { core_.Command(code, id); }
  // The dialog's commands and the close box go to the message map; moving,
  // sizing and the keyboard's menu stay with the dialog manager.
  bool SysCommand(unsigned command) override {
    const unsigned system = command & 0xFFF0;
    if (system >= 0xF000 && system != SC_CLOSE) return false;
    core_.SysCommand(command);
    return true;
  }
  bool Paint() override { return core_.Paint(); }
  bool QueryDragIcon(win32::Icon* icon) override { return core_.QueryDragIcon(icon); }

 private:
  // Windows names an edit after the label made just before it (the template
  // is written so); the list box and a control without a label are named
  // from the same table as on every platform.
  void NameUnlabelledControls(win32::Window window) {
    for (std::size_t i = 0; i < dialog_.controls.size(); ++i) {
      const ControlTemplate& c = dialog_.controls[i];
      if (c.kind != ControlKind::kEdit && c.kind != ControlKind::kListBox) continue;
      if (c.kind == ControlKind::kEdit && LabelOf(dialog_, i) >= 0) continue;
      const std::string name = AccessibleName(dialog_, i);
      win32::Window control = win32::DialogItem(window, c.id);
      if (control != nullptr && !name.empty()) win32::AnnotateName(control, name);
    }
  }

  const DialogTemplate& dialog_;
  backend::DialogEvents& core_;
};

}  // namespace

int RunProgram(int /*argc*/, char** /*argv*/, const char* /*program*/,
               const std::function<int()>& run, const std::function<void()>& beforeStart) {
  if (beforeStart) beforeStart();
  win32::StartControls();
  return run();
}

void PrintProgramLine(std::string_view line, std::string_view caption) {
  win32::PrintLine(line, caption);
}

// Every window of the program is a modal dialog that InitInstance runs to
// its end: no window is left open for an event loop to serve.
void RunWhileWindowsOpen() {}

std::string ExecutablePath() { return win32::ExecutablePath(); }

int RunModalDialog(const DialogTemplate& dialog, HWND owner, DialogEvents& events) {
  NativeEvents native(dialog, events);
  win32::InstallPrintKey(ID_FILE_PRINT);
  return static_cast<int>(win32::RunDialog(win32::BuildDialogTemplateEx(dialog), owner, &native));
}

void EndDialog(HWND dialog, int code) { win32::EndDialog(dialog, code); }

}  // namespace toolkit::backend
