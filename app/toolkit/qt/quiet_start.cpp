// Holding Qt's messages while it starts; a fatal one ends the program cleanly.
#include "app/toolkit/qt/quiet_start.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/toolkit/qt/display_check.h"

namespace toolkit {
namespace {

struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};

// One start per process: the handler is a plain function and needs these.
std::string startingProgram;
std::vector<HeldMessage> held;
QtMessageHandler previous = nullptr;

void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    // Qt aborts once this returns; its own lines would only confuse.
    std::fprintf(stderr, "%s: %s\n", startingProgram.c_str(), kNoDisplay);
    std::fflush(stderr);
    std::_Exit(1);
  }
  held.push_back({type, QByteArray(context.category), text});
}

}  // namespace

QuietStart::QuietStart(const char* program) {
  startingProgram = program;
  held.clear();
  previous = qInstallMessageHandler(Hold);
}

void QuietStart::Started() {
  if (!holding_) return;
  holding_ = false;
  qInstallMessageHandler(previous);
  for (const HeldMessage& message : held) {
    if (previous == nullptr) break;
    const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
    previous(message.type, context, message.text);
  }
  held.clear();
}

}  // namespace toolkit
