// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/qt/input_guard.h"

#include <QCoreApplication>
#include <QEvent>

namespace zentor::ui::qt {
namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}

}  // namespace

InputGuard::InputGuard(QObject* window) : window_(window) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputGuard::~InputGuard() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
  if (!raised()) return false;
  if (IsUserInput(event->type())) return true;
  // The close box of the dialog window is the user's too. A close event counts as agreed
  // unless refused, so it is refused, not merely swallowed.
  if (event->type() == QEvent::Close && watched == window_) {
    event->ignore();
    return true;
  }
  return false;
}

}  // namespace zentor::ui::qt
