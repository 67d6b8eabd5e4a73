// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>

namespace zentor::ui::qt {

// Holds off the user while the dialog works: drive work runs on the window's thread and
// lets the event loop run only to repaint and to answer the window manager, so mouse and
// keyboard input (and a click on the close box) arriving meanwhile is dropped, not kept
// for later. A message box opened by the work lowers the guard for as long as it is open.
class InputGuard final : public QObject {
 public:
  // Watches every event of the application from now until destroyed.
  explicit InputGuard(QObject* window);
  ~InputGuard() override;

  // Raised while at least one Hold is alive.
  class Hold {
   public:
    explicit Hold(InputGuard& guard) : guard_(guard) { ++guard_.holds_; }
    ~Hold() { --guard_.holds_; }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    InputGuard& guard_;
  };

  // Lowers the guard while alive, however many holds there are.
  class Opening {
   public:
    explicit Opening(InputGuard& guard) : guard_(guard), saved_(guard.holds_) { guard_.holds_ = 0; }
    ~Opening() { guard_.holds_ = saved_; }
    Opening(const Opening&) = delete;
    Opening& operator=(const Opening&) = delete;

   private:
    InputGuard& guard_;
    int saved_;
  };

  bool raised() const { return holds_ > 0; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QObject* window_;
  int holds_ = 0;
};

}  // namespace zentor::ui::qt
